#include "Translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <vector>

namespace platform {
namespace {

std::vector<QPointer<QTranslator>> &installed()
{
    // Process-wide, as the application's translators are: what this program
    // installed, so that a session that turns Simplified can take it back.
    static std::vector<QPointer<QTranslator>> translators;
    return translators;
}

bool install(const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed().emplace_back(translator);
    return true;
}

void removeInstalled()
{
    for (const QPointer<QTranslator> &translator : installed()) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    installed().clear();
}

QString programTranslation(script::Script script)
{
    switch (script) {
    case script::Script::Taiwan: return QStringLiteral("yanping_zh_TW");
    case script::Script::HongKong: return QStringLiteral("yanping_zh_HK");
    case script::Script::Simplified: break;
    }
    return QString();
}

} // namespace

bool installTranslations(script::Script script, const QString &folder)
{
    removeInstalled();
    const QString program = programTranslation(script);
    const bool traditional = !program.isEmpty() && install(program, folder);
    // Qt has one Traditional translation, Taiwan's; Hong Kong's dialogs use
    // it too, and the program's Hong Kong texts use the same words.
    const QString qtRegion = traditional ? QStringLiteral("_zh_TW") : QStringLiteral("_zh_CN");
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase", "qt"})
        install(QLatin1String(name) + qtRegion, qtFolder);
    return traditional || script == script::Script::Simplified;
}

void installTranslations(QApplication &)
{
    // The script the session asks for is known at once: the program's texts
    // are translated before the first window, without waiting for the
    // converter that the readings need.
    installTranslations(script::requested(), QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
}

void removeTranslations()
{
    installTranslations(script::Script::Simplified, QString());
}

} // namespace platform
