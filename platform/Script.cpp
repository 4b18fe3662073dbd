#include "Script.h"

#include "platform/FirstScreenTexts.h"
#include "platform/ScriptTable.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <future>
#include <iterator>
#include <mutex>
#include <opencc.h>

namespace script {
namespace {

// One loaded OpenCC converter.
class Converter
{
public:
    // Null when the configuration or its dictionaries cannot be loaded.
    static std::shared_ptr<const Converter> open(const QString &config)
    {
        const opencc_t handle = opencc_open(QFile::encodeName(config).constData());
        if (handle == reinterpret_cast<opencc_t>(-1))
            return nullptr;
        return std::shared_ptr<const Converter>(new Converter(handle));
    }
    ~Converter() { opencc_close(handle_); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    QString convert(const QString &text) const
    {
        const QByteArray utf8 = text.toUtf8();
        char *converted = opencc_convert_utf8(handle_, utf8.constData(), size_t(utf8.size()));
        if (!converted)
            return text;
        QString result = QString::fromUtf8(converted);
        opencc_convert_utf8_free(converted);
        // The program's texts use 凶 only as lots use it (吉凶, 大凶, 凶卦).
        // The converter's tables turn a lone 凶 into 兇, the character of
        // 兇手 and 兇惡, which no reader of lots expects in a verdict.
        result.replace(QChar(0x5147), QChar(0x51F6));
        return result;
    }

private:
    explicit Converter(opencc_t handle) : handle_(handle) { }
    opencc_t handle_;
};

} // namespace

// The first screen's texts as the build converted them, and the OpenCC data
// they were converted from.
struct FirstScreen {
    QString config; // the configuration's path
    QHash<QString, QString> shown;
};

namespace {
template<size_t files, size_t texts>
std::unique_ptr<const FirstScreen> firstScreenFrom(const firstscreen::DataFile (&data)[files],
                                                   const char *const (&converted)[texts])
{
    static_assert(texts == std::size(kFirstScreenTexts), "one conversion for each first-screen text");
    // The table stands for the converter only while the data on disk are the
    // very files it was made from: same size, same modification time. Those
    // files loaded when the program was built, so they load now (the table
    // is never shown while a load of other data might still fail, which
    // would leave the first screen converted and the rest not); any other
    // data, even another OpenCC release that converts differently, make the
    // session wait for its converter, as for every other text.
    for (const firstscreen::DataFile &file : data) {
        const QFileInfo info(QFile::decodeName(file.path));
        if (!info.isReadable() || info.size() != file.size
            || info.lastModified().toMSecsSinceEpoch() != file.modifiedMs)
            return nullptr;
    }
    auto table = std::make_unique<FirstScreen>();
    table->config = QFile::decodeName(data[0].path);
    for (size_t i = 0; i < texts; ++i)
        table->shown.insert(QString::fromUtf8(kFirstScreenTexts[i]), QString::fromUtf8(converted[i]));
    return table;
}

std::unique_ptr<const FirstScreen> firstScreenFor(Script script)
{
    switch (script) {
    case Script::Taiwan: return firstScreenFrom(firstscreen::taiwanFiles, firstscreen::taiwanTexts);
    case Script::HongKong: return firstScreenFrom(firstscreen::hongKongFiles, firstscreen::hongKongTexts);
    case Script::Simplified: break;
    }
    return nullptr;
}
} // namespace

struct Session {
    Script script = Script::Simplified;
    // Null once loaded when loading failed.
    std::shared_future<std::shared_ptr<const Converter>> converter;
    // While the converter loads, the first screen's texts; null when the
    // session's data are not those the build converted them with.
    std::unique_ptr<const FirstScreen> firstScreen;

    // How the converter is loaded, and whether it has been started. A
    // session with a table starts loading only once the first screen has
    // been painted, or when a text not on the table asks for it, so that
    // loading does not compete with the start of the window system.
    QString config;
    std::launch policy = std::launch::deferred;
    std::once_flag startOnce;
    std::atomic<bool> started {false};

    void start()
    {
        std::call_once(startOnce, [this] {
            const QString file = config;
            converter = std::async(policy, [file] { return Converter::open(file); }).share();
            started.store(true, std::memory_order_release);
        });
    }

    // Whether the table answers for the converter: it is there and the
    // converter is not yet ready.
    bool answersEarly() const
    {
        if (!firstScreen)
            return false;
        return !started.load(std::memory_order_acquire)
            || converter.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
    }

    // The converter, waiting for it if it is still loading; null in a
    // Simplified session and when loading failed.
    const Converter *loaded()
    {
        if (script == Script::Simplified)
            return nullptr;
        start();
        return converter.get().get();
    }
};

namespace {
std::shared_ptr<Session> &session()
{
    static std::shared_ptr<Session> s;
    return s;
}

// Starts the session's converter loading once the first window has been
// painted: the paint event posts the start, which runs after it.
class StartAfterFirstPaint : public QObject
{
public:
    explicit StartAfterFirstPaint(std::weak_ptr<Session> session) : session_(std::move(session)) { }

    // Installed once, by the first text the table answers.
    static void install(const std::shared_ptr<Session> &session)
    {
        static bool installed = false;
        QCoreApplication *app = QCoreApplication::instance();
        if (installed || !app || session->started.load(std::memory_order_acquire))
            return;
        installed = true;
        app->installEventFilter(new StartAfterFirstPaint(session));
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, [session = session_] {
                if (const std::shared_ptr<Session> s = session.lock())
                    s->start();
            });
            deleteLater();
        }
        return false;
    }

private:
    std::weak_ptr<Session> session_;
};

std::shared_ptr<Session> makeSession(Script script, const QString &config, std::launch policy)
{
    auto s = std::make_shared<Session>();
    s->script = script;
    if (script != Script::Simplified) {
        // Only the script's own configuration has a table; the table's
        // converter reads the files the table was checked against.
        if (config.isEmpty())
            s->firstScreen = firstScreenFor(script);
        s->config = !config.isEmpty() ? config : s->firstScreen ? s->firstScreen->config : converterConfig(script);
        s->policy = policy;
        if (!s->firstScreen)
            s->start();
    }
    return s;
}
} // namespace

Script scriptFor(const QLocale &locale)
{
    if (locale.language() != QLocale::Chinese)
        return Script::Simplified;
    switch (locale.territory()) {
    case QLocale::HongKong:
    case QLocale::Macao: return Script::HongKong;
    case QLocale::Taiwan: return Script::Taiwan;
    default: break;
    }
    return locale.script() == QLocale::TraditionalChineseScript ? Script::Taiwan : Script::Simplified;
}

QString converterConfig(Script script)
{
    switch (script) {
    case Script::Taiwan: return QStringLiteral("s2twp.json");
    case Script::HongKong: return QStringLiteral("s2hk.json");
    case Script::Simplified: break;
    }
    return QString();
}

void chooseForSession()
{
    // Loading the dictionaries takes a while. With the build's table for the
    // first screen it starts once that screen is painted; without, it
    // overlaps with the start of the window system and the first text shown
    // waits for it.
    session() = makeSession(scriptFor(QLocale::system()), QString(), std::launch::async);
}

Script current()
{
    const std::shared_ptr<Session> &s = session();
    if (s && s->answersEarly())
        return s->script;
    return s && s->loaded() ? s->script : Script::Simplified;
}

QString display(const QString &simplified)
{
    const std::shared_ptr<Session> &s = session();
    if (s && s->answersEarly()) {
        const auto early = s->firstScreen->shown.constFind(simplified);
        if (early != s->firstScreen->shown.constEnd()) {
            if (s->policy == std::launch::async)
                StartAfterFirstPaint::install(s);
            return early.value();
        }
    }
    const Converter *converter = s ? s->loaded() : nullptr;
    if (!converter || simplified.isEmpty())
        return simplified;
    return converter->convert(simplified);
}

Override::Override(Script script, const QString &config)
    : ScopedOverride(session(), makeSession(script, config, std::launch::deferred))
{ }

} // namespace script
