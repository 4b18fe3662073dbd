#include "Script.h"

#include "Errors.h"
#include "Files.h"
#include "FontConfiguration.h"
#include "ProgramFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QStringDecoder>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

// OpenCC's C++ interface, from its own include folder (pkg-config opencc).
#include <Conversion.hpp>
#include <ConversionChain.hpp>
#include <Converter.hpp>
#include <DictEntry.hpp>
#include <DictGroup.hpp>
#include <Lexicon.hpp>
#include <MarisaDict.hpp>
#include <MaxMatchSegmentation.hpp>
#include <TextDict.hpp>

namespace script {
namespace {

using Clock = std::chrono::steady_clock;

// Bounds on what the converter reads: OpenCC's largest table is under
// 1 MB, the program's configurations a few hundred bytes.
constexpr qint64 kMaxConfigurationBytes = 64 * 1024;
constexpr qint64 kMaxDictionaryBytes = 32 * 1024 * 1024;
constexpr int kMaxNesting = 4;

// Why loading failed; caught, with everything else, where loading starts.
struct LoadFailure : std::runtime_error {
    explicit LoadFailure(const QString &why) : std::runtime_error(why.toStdString()) { }
};

// The program's configuration for a script and a kind of text.
QString configurationName(Script script, TextKind kind)
{
    const bool instructions = kind == TextKind::Instructions;
    switch (script) {
    case Script::Taiwan:
        return instructions ? QStringLiteral("yanping-tw-instructions.json") : QStringLiteral("yanping-tw.json");
    case Script::HongKong:
        return instructions ? QStringLiteral("yanping-hk-instructions.json") : QStringLiteral("yanping-hk.json");
    case Script::Simplified: break;
    }
    return QString();
}

// Texts whose right conversion is known, one set per script and kind. A
// converter that gets any of them wrong was loaded from data that are not
// what they claim to be (a table of the right size with other content, a
// dictionary that swaps 吉 and 凶), and the session stays Simplified.
struct Probe {
    const char *simplified;
    const char *shown;
};

std::vector<Probe> probesFor(Script script, TextKind kind)
{
    // 吉凶 and a lone 凶 as lots use them, 占 of 占卜, the quotation marks.
    std::vector<Probe> probes {{"断曰：吉", "斷曰：吉"},
                               {"断曰：凶", "斷曰：凶"},
                               {"大吉大凶，凡占", "大吉大凶，凡占"},
                               {"“和”与‘同’", "「和」與『同』"}};
    const bool tw = script == Script::Taiwan;
    probes.push_back(tw ? Probe {"说为温", "說為溫"} : Probe {"说为温", "説為温"});
    if (kind == TextKind::Reading)
        probes.push_back({"文件", "文件"}); // prose keeps its words
    else
        probes.push_back({"保存文件", tw ? "儲存檔案" : "儲存檔案"});
    return probes;
}

// One converter per kind of text.
struct Converters {
    std::shared_ptr<const opencc::Converter> reading;
    std::shared_ptr<const opencc::Converter> instructions;

    const opencc::Converter &forKind(TextKind kind) const
    {
        return kind == TextKind::Instructions ? *instructions : *reading;
    }
};

std::string convertWith(const opencc::Converter &converter, const QString &text)
{
    return converter.Convert(text.toStdString());
}

// Loads the program's configurations and the dictionaries they name. Each
// file is found by its bare name in the program's folder, else in OpenCC's,
// both absolute; it must be a regular file within its size bound, and is
// read here, so that OpenCC never opens a file by itself (it would look in
// the working folder first) and never waits on a FIFO.
class Loader
{
public:
    explicit Loader(const Folders &folders) : folders_(folders) { }

    // Reads a configuration and every file it names, so that building the
    // converter afterwards reads nothing more.
    void prefetch(const QString &name)
    {
        const QJsonObject config = configuration(name);
        gather(config.value(QStringLiteral("segmentation")).toObject().value(QStringLiteral("dict")), 0);
        for (const QJsonValue &step : config.value(QStringLiteral("conversion_chain")).toArray())
            gather(step.toObject().value(QStringLiteral("dict")), 0);
    }

    std::shared_ptr<const opencc::Converter> converter(const QString &name)
    {
        const QJsonObject config = configuration(name);
        const QJsonObject segmentation = config.value(QStringLiteral("segmentation")).toObject();
        if (segmentation.value(QStringLiteral("type")).toString() != QLatin1String("mmseg"))
            throw LoadFailure(name + QStringLiteral(": unknown segmentation"));
        const auto segmenter
            = std::make_shared<opencc::MaxMatchSegmentation>(dictionary(segmentation.value(QStringLiteral("dict")), 0));
        std::list<opencc::ConversionPtr> steps;
        const QJsonArray chain = config.value(QStringLiteral("conversion_chain")).toArray();
        for (const QJsonValue &step : chain)
            steps.push_back(
                std::make_shared<opencc::Conversion>(dictionary(step.toObject().value(QStringLiteral("dict")), 0)));
        if (steps.empty())
            throw LoadFailure(name + QStringLiteral(": no conversion"));
        return std::make_shared<const opencc::Converter>(name.toStdString(), segmenter,
                                                         std::make_shared<opencc::ConversionChain>(steps));
    }

private:
    QJsonObject configuration(const QString &name)
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(read(locate(name), kMaxConfigurationBytes), &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            throw LoadFailure(name + QStringLiteral(": not a configuration"));
        return document.object();
    }

    void gather(const QJsonValue &value, int depth)
    {
        const QJsonObject entry = value.toObject();
        if (depth > kMaxNesting)
            throw LoadFailure(QStringLiteral("dictionaries nested too deep"));
        if (entry.value(QStringLiteral("type")).toString() == QLatin1String("group")) {
            for (const QJsonValue &member : entry.value(QStringLiteral("dicts")).toArray())
                gather(member, depth + 1);
        } else {
            read(locate(entry.value(QStringLiteral("file")).toString()), kMaxDictionaryBytes);
        }
    }

    // An absolute path for a file the configuration names: a bare name,
    // never a path, so nothing outside the two folders is read.
    QString locate(const QString &name)
    {
        if (const auto known = located_.constFind(name); known != located_.constEnd())
            return known.value();
        if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('/'))
            || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
            throw LoadFailure(QStringLiteral("not a file name: ") + name);
        for (const QString &folder : {folders_.program, folders_.system}) {
            if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
                continue;
            const QString path = QDir(folder).absoluteFilePath(name);
            if (QFileInfo::exists(path)) {
                located_.insert(name, path);
                return path;
            }
        }
        throw LoadFailure(QStringLiteral("no file ") + name);
    }

    // Each file is read once, however often it is named.
    QByteArray read(const QString &path, qint64 maxBytes)
    {
        if (const auto known = read_.constFind(path); known != read_.constEnd())
            return known.value();
        QByteArray bytes;
        errors::Failure failure;
        if (!platform::readRegularFile(path, maxBytes, &bytes, &failure))
            throw LoadFailure(QStringLiteral("cannot read ") + path);
        read_.insert(path, bytes);
        return bytes;
    }

    opencc::DictPtr dictionary(const QJsonValue &value, int depth)
    {
        const QJsonObject entry = value.toObject();
        const QString type = entry.value(QStringLiteral("type")).toString();
        if (depth > kMaxNesting)
            throw LoadFailure(QStringLiteral("dictionaries nested too deep"));
        if (type == QLatin1String("group")) {
            std::list<opencc::DictPtr> members;
            for (const QJsonValue &member : entry.value(QStringLiteral("dicts")).toArray())
                members.push_back(dictionary(member, depth + 1));
            if (members.empty())
                throw LoadFailure(QStringLiteral("an empty dictionary group"));
            return std::make_shared<opencc::DictGroup>(members);
        }
        const QString path = locate(entry.value(QStringLiteral("file")).toString());
        const QString key = type + QLatin1Char(':') + path;
        if (const auto known = loaded_.constFind(key); known != loaded_.constEnd())
            return known.value();
        opencc::DictPtr dict;
        if (type == QLatin1String("ocd2"))
            dict = marisaDictionary(read(path, kMaxDictionaryBytes));
        else if (type == QLatin1String("text"))
            dict = textDictionary(read(path, kMaxDictionaryBytes), path);
        else
            throw LoadFailure(QStringLiteral("unknown dictionary type ") + type);
        loaded_.insert(key, dict);
        return dict;
    }

    // OpenCC's compiled tables, read from memory.
    static opencc::DictPtr marisaDictionary(QByteArray bytes)
    {
        if (bytes.isEmpty())
            throw LoadFailure(QStringLiteral("an empty table"));
#ifdef Q_OS_UNIX
        std::FILE *file = ::fmemopen(bytes.data(), size_t(bytes.size()), "rb");
#else
        std::FILE *file = std::tmpfile();
        if (file
            && (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) != size_t(bytes.size())
                || std::fseek(file, 0, SEEK_SET) != 0)) {
            std::fclose(file);
            file = nullptr;
        }
#endif
        if (!file)
            throw LoadFailure(QStringLiteral("no memory for a table"));
        struct Closer {
            std::FILE *file;
            ~Closer() { std::fclose(file); }
        } closer {file};
        return opencc::MarisaDict::NewFromFile(file);
    }

    // A text dictionary: "key<TAB>value[ value…]" per line, in UTF-8.
    static opencc::DictPtr textDictionary(const QByteArray &bytes, const QString &path)
    {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        if (utf8.hasError())
            throw LoadFailure(path + QStringLiteral(": not UTF-8"));
        auto lexicon = std::make_shared<opencc::Lexicon>();
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QStringList fields = line.split(QLatin1Char('\t'));
            const QStringList values = fields.value(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (fields.size() != 2 || fields[0].isEmpty() || values.isEmpty())
                throw LoadFailure(path + QStringLiteral(": not a dictionary line: ") + line);
            std::vector<std::string> converted;
            for (const QString &v : values)
                converted.push_back(v.toStdString());
            lexicon->Add(opencc::DictEntryFactory::New(fields[0].toStdString(), converted));
        }
        if (lexicon->Length() == 0)
            throw LoadFailure(path + QStringLiteral(": empty"));
        lexicon->Sort();
        std::string duplicate;
        if (!lexicon->IsUnique(&duplicate))
            throw LoadFailure(path + QStringLiteral(": twice: ") + QString::fromStdString(duplicate));
        // As a trie, which finds the longest key at a place in one pass.
        return opencc::MarisaDict::NewFromDict(opencc::TextDict(lexicon));
    }

    Folders folders_;
    QHash<QString, QString> located_; // by name
    QHash<QString, QByteArray> read_; // by path
    QHash<QString, opencc::DictPtr> loaded_; // by type and path: one copy of each table
};

// Both converters of a script from the files the loader has read,
// checked; null when anything failed.
std::shared_ptr<const Converters> build(Loader &loader, Script script) noexcept
{
    try {
        auto converters = std::make_shared<Converters>();
        converters->reading = loader.converter(configurationName(script, TextKind::Reading));
        converters->instructions = loader.converter(configurationName(script, TextKind::Instructions));
        for (const TextKind kind : {TextKind::Reading, TextKind::Instructions}) {
            for (const Probe &probe : probesFor(script, kind)) {
                if (converters->forKind(kind).Convert(probe.simplified) != probe.shown)
                    return nullptr;
            }
        }
        return converters;
    } catch (...) {
        // A damaged or foreign file, or no memory: Simplified.
        return nullptr;
    }
}

#ifdef Q_OS_LINUX
// Whether the converter builds and converts right from these files in a
// child process, which has a copy of everything read and reads nothing
// more. A damaged table can make the trie library crash or run on and on
// instead of failing; that must end the child, never the program. The
// child uses no locks that another of the program's threads might have
// held when it was made: only memory, Qt's strings and OpenCC.
bool buildsInChild(Loader &loader, Script script, Clock::time_point deadline)
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0)
        ::_exit(build(loader, script) ? 0 : 1);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        if (Clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
#endif

// Both converters of a script, checked; null when anything failed or took
// past the deadline.
std::shared_ptr<const Converters> load(Script script, const Folders &folders, Clock::time_point deadline) noexcept
{
    try {
        Loader loader(folders);
        // Every file is read here, and none afterwards.
        loader.prefetch(configurationName(script, TextKind::Reading));
        loader.prefetch(configurationName(script, TextKind::Instructions));
#ifdef Q_OS_LINUX
        if (!buildsInChild(loader, script, deadline))
            return nullptr;
#endif
        return build(loader, script);
    } catch (...) {
        // A missing or unreadable file, or no memory: Simplified.
        return nullptr;
    }
}

// The outcome of one session's loading, shared by the session and the
// thread that loads. Settled once: by the loader when it finishes, or by
// whoever first finds the time limit passed; the first one decides.
struct LoadState {
    Script script = Script::Simplified;
    Clock::time_point deadline;
    std::mutex mutex;
    std::condition_variable changed;
    bool settled = false;
    std::shared_ptr<const Converters> converters; // null: Simplified
    struct Waiter {
        QPointer<QObject> context;
        std::function<void(Script)> done;
    };
    std::vector<Waiter> waiters;
    // Whether loading may begin: at once, when the program's first window
    // is on screen, or when a text is asked for, whichever comes first.
    bool go = true;
    Clock::time_point startBy;

    void letGo()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            go = true;
        }
        changed.notify_all();
    }

    Script shown() const { return converters ? script : Script::Simplified; }

    void settle(std::shared_ptr<const Converters> result)
    {
        std::vector<Waiter> waiting;
        Script outcome;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            if (settled)
                return;
            settled = true;
            converters = std::move(result);
            waiting.swap(waiters);
            outcome = shown();
        }
        changed.notify_all();
        for (Waiter &w : waiting)
            post(w, outcome);
    }

    static void post(Waiter &waiter, Script outcome)
    {
        if (QObject *context = waiter.context.data())
            QMetaObject::invokeMethod(
                context, [done = std::move(waiter.done), outcome] { done(outcome); }, Qt::QueuedConnection);
    }

    // The converters, waiting for them until the deadline at most.
    const Converters *wait()
    {
        letGo();
        {
            std::unique_lock<std::mutex> lock(mutex);
            if (changed.wait_until(lock, deadline, [this] { return settled; }))
                return converters.get();
        }
        settle(nullptr);
        const std::lock_guard<std::mutex> lock(mutex);
        return converters.get();
    }
};

} // namespace

Folders Folders::forProgram()
{
    QString base = platform::programFolder();
    if (base.isEmpty())
        base = platform::executableFolder();
    Folders folders;
    if (!base.isEmpty())
        folders.program = QDir(QDir::fromNativeSeparators(base)).absoluteFilePath(QStringLiteral("opencc"));
    folders.system = QStringLiteral(YANPING_OPENCC_DATA_DIR);
    return folders;
}

struct Session {
    Script script = Script::Simplified;
    std::shared_ptr<LoadState> state; // null in a Simplified session
};

namespace {
std::shared_ptr<Session> &session()
{
    static std::shared_ptr<Session> s;
    return s;
}

// A session whose loading is held back starts it by startLoading() or the
// first text asked for, and at the latest after kHoldBackMs.
std::shared_ptr<Session> makeSession(Script script, const Folders &folders, bool holdBack = false)
{
    constexpr int kHoldBackMs = 1000;
    auto s = std::make_shared<Session>();
    s->script = script;
    if (script == Script::Simplified)
        return s;
    s->state = std::make_shared<LoadState>();
    s->state->script = script;
    s->state->go = !holdBack;
    s->state->startBy = Clock::now() + std::chrono::milliseconds(holdBack ? kHoldBackMs : 0);
    s->state->deadline = s->state->startBy + std::chrono::milliseconds(kLoadLimitMs);
    // The loader holds the state, never the session: a session given up
    // (its time ran out, or a test's override ended) does not wait for it.
    std::thread([state = s->state, script, folders] {
        {
            std::unique_lock<std::mutex> lock(state->mutex);
            state->changed.wait_until(lock, state->startBy, [&state] { return state->go; });
        }
        state->settle(load(script, folders, state->deadline));
    }).detach();
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

void chooseForSession()
{
    // Loading competes with the start of the window system for the
    // processor; it waits until the first window is on screen.
    session() = makeSession(scriptFor(QLocale::system()), Folders::forProgram(), true);
}

void startLoading()
{
    if (const std::shared_ptr<Session> &s = session(); s && s->state)
        s->state->letGo();
}

Script requested()
{
    const std::shared_ptr<Session> &s = session();
    return s ? s->script : Script::Simplified;
}

Script current()
{
    const std::shared_ptr<Session> &s = session();
    if (!s || !s->state)
        return Script::Simplified;
    return s->state->wait() ? s->script : Script::Simplified;
}

QString display(const QString &simplified, TextKind kind)
{
    const std::shared_ptr<Session> &s = session();
    if (!s || !s->state || simplified.isEmpty())
        return simplified;
    const Converters *converters = s->state->wait();
    if (!converters)
        return simplified;
    try {
        return QString::fromStdString(convertWith(converters->forKind(kind), simplified));
    } catch (...) {
        return simplified;
    }
}

void whenSettled(QObject *context, std::function<void(Script)> done)
{
    if (!context || !done)
        return;
    const std::shared_ptr<Session> &s = session();
    LoadState::Waiter waiter {context, std::move(done)};
    if (!s || !s->state) {
        LoadState::post(waiter, Script::Simplified);
        return;
    }
    const std::shared_ptr<LoadState> state = s->state;
    {
        const std::lock_guard<std::mutex> lock(state->mutex);
        if (!state->settled) {
            state->waiters.push_back(std::move(waiter));
            // Nobody may be asking for a text when the time runs out: the
            // limit is kept here too.
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(state->deadline - Clock::now());
            QTimer::singleShot(std::max<qint64>(left.count(), 0) + 1, context, [state] { state->wait(); });
            return;
        }
    }
    LoadState::post(waiter, state->shown());
}

Override::Override(Script script, const Folders &folders) : ScopedOverride(session(), makeSession(script, folders)) { }

} // namespace script
