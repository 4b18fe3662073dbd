#include "Translations.h"

#include "Script.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

void installTranslations(QApplication &app)
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Qt has one Traditional translation, Taiwan's; Hong Kong reads it too.
    const QLatin1String region(script::current() == script::Script::Simplified ? "_zh_CN" : "_zh_TW");
    for (const char *name : {"qtbase", "qt"}) {
        auto *tr = new QTranslator(&app);
        if (tr->load(QLatin1String(name) + region, dir))
            app.installTranslator(tr);
        else
            delete tr;
    }
}

} // namespace platform
