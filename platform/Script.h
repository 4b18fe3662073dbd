#pragma once
#include "Seam.h"

#include <QString>
#include <functional>
#include <memory>

class QLocale;
class QObject;

// The characters the program's readings, their explanations and the
// instructions page are shown in. They are written in Simplified
// characters; for readers in Taiwan, Hong Kong and Macau, as the desktop's
// language says, they are converted to Traditional characters with the
// region's own forms and wording. The script is chosen once at start-up and
// holds for the whole run: a session whose converter cannot be loaded shows
// everything in Simplified, never part of it converted.
//
// The converter is OpenCC, driven by the program's own configurations and
// dictionary in the program folder's opencc/, with OpenCC's tables from the
// system's OpenCC folder. Every file is named by an absolute path, must be a
// regular file of bounded size and is read by the program itself; the
// loaded converter must pass a few conversions whose answers are known.
namespace script {

enum class Script {
    Simplified, // as written
    Taiwan, // Traditional characters, Taiwan's standard forms
    HongKong, // Traditional characters, Hong Kong's standard forms (also Macau)
};

// What a text is, for the wording it gets: readings and their explanations
// are prose and keep their words, only the characters change; the
// instructions describe the program, and use the words of the region's
// desktop software (檔案, 視窗, 儲存, 列印 …) that its interface uses.
enum class TextKind {
    Reading,
    Instructions,
};

// The script a locale asks for: Taiwan for zh_TW and any other Chinese
// locale written in Hant, HongKong for zh_HK and zh_MO, Simplified for
// every other locale.
Script scriptFor(const QLocale &locale);

// Where the converter's files are found, as absolute paths: the program's
// own folder first, then OpenCC's.
struct Folders {
    QString program; // the program folder's opencc/
    QString system; // OpenCC's data folder (/usr/share/opencc)
    // The folders of the installed program: opencc/ beside the executable.
    static Folders forProgram();
};

// The longest that current() and display() wait for the converter, counted
// from the start of loading. A converter not loaded by then leaves the
// session Simplified. The sanitizers' builds load several times slower.
#ifdef YANPING_SANITIZED
constexpr int kLoadLimitMs = 8000;
#else
constexpr int kLoadLimitMs = 2000;
#endif

// Chooses the session's script from the user's language (QLocale::system())
// and, in a Traditional session, makes ready to load the converter in the
// background: loading starts with startLoading(), the first text asked for,
// or a second after this call, whichever comes first. Called once, at
// start-up, before any text is shown.
void chooseForSession();

// Lets the session's converter start loading now (the program calls it once
// its first window is on screen). Does nothing once loading has started.
void startLoading();

// The script the session's language asks for, without waiting for the
// converter: for what may be decided before it has loaded (the program's
// own translations). current() can still turn out Simplified.
Script requested();

// The script the session shows: requested(), or Simplified when its
// converter failed to load or did not load in time. Waits for the
// converter, at most until kLoadLimitMs after loading started.
Script current();

// A text written in Simplified characters, as this session shows it:
// unchanged in a Simplified session, converted in a Traditional one.
QString display(const QString &simplified, TextKind kind = TextKind::Reading);

// Calls `done` on the context's thread once the converter has loaded or
// failed (or its time ran out), with the script the session shows; at once
// (queued) when that is already known. Nothing is called once the context
// is gone.
void whenSettled(QObject *context, std::function<void(Script)> done);

// While an Override lives, the session shows `script`, its converter loaded
// from `folders` (by default the program's). A converter that cannot be
// loaded leaves the session Simplified, as at start-up.
struct Session;
class Override : platform::ScopedOverride<std::shared_ptr<Session>>
{
public:
    explicit Override(Script script, const Folders &folders = Folders::forProgram());
};

} // namespace script
