#pragma once
#include "Seam.h"

#include <QString>
#include <memory>

class QLocale;

// The characters the program writes in. Its texts are written in
// Simplified characters; for readers in Taiwan, Hong Kong and Macau, as the
// desktop's language says, every text is shown in Traditional characters
// with the region's own wording. The script is chosen once at start-up and
// holds for the whole run.
namespace script {

enum class Script {
    Simplified, // as written
    Taiwan, // Traditional characters, Taiwan's standard and wording
    HongKong, // Traditional characters, Hong Kong's standard (also Macau)
};

// The script a locale asks for: Taiwan for zh_TW and any other Chinese
// locale written in Hant, HongKong for zh_HK and zh_MO, Simplified for
// every other locale.
Script scriptFor(const QLocale &locale);

// The converter's configuration for a script ("s2twp.json", "s2hk.json");
// empty for Simplified.
QString converterConfig(Script script);

// Chooses the session's script from the user's language (QLocale::system())
// and, in a Traditional session, starts loading the converter in the
// background. Called once, at start-up, before any text is shown.
void chooseForSession();

// The script the session shows. A Traditional session whose converter could
// not be loaded shows Simplified, and so reports Simplified. Waits for the
// converter to finish loading.
Script current();

// A text written in Simplified characters, as this session shows it:
// unchanged in a Simplified session, converted in a Traditional one.
QString display(const QString &simplified);

// While an Override lives, the session shows `script`, its converter loaded
// from `config` (a configuration file name or path; empty: the script's own).
// A converter that cannot be loaded leaves the session Simplified, as at
// start-up.
struct Session;
class Override : platform::ScopedOverride<std::shared_ptr<Session>>
{
public:
    explicit Override(Script script, const QString &config = QString());
};

} // namespace script
