#include "Translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

void installTranslations(QApplication &app)
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_zh_CN", "qt_zh_CN"}) {
        auto *tr = new QTranslator(&app);
        if (tr->load(QString::fromLatin1(name), dir))
            app.installTranslator(tr);
        else
            delete tr;
    }
}

} // namespace platform
