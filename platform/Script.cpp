#include "Script.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <future>
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
        const QString result = QString::fromUtf8(converted);
        opencc_convert_utf8_free(converted);
        return result;
    }

private:
    explicit Converter(opencc_t handle) : handle_(handle) {}
    opencc_t handle_;
};

} // namespace

struct Session {
    Script script = Script::Simplified;
    // Null once loaded when loading failed.
    std::shared_future<std::shared_ptr<const Converter>> converter;

    // The converter, waiting for it if it is still loading; null in a
    // Simplified session and when loading failed.
    const Converter *loaded() const
    {
        if (script == Script::Simplified || !converter.valid())
            return nullptr;
        return converter.get().get();
    }
};

namespace {
std::shared_ptr<Session> &session()
{
    static std::shared_ptr<Session> s;
    return s;
}

std::shared_ptr<Session> makeSession(Script script, const QString &config, std::launch policy)
{
    auto s = std::make_shared<Session>();
    s->script = script;
    if (script != Script::Simplified) {
        const QString file = config.isEmpty() ? converterConfig(script) : config;
        s->converter = std::async(policy, [file] { return Converter::open(file); }).share();
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
    case QLocale::Macao:
        return Script::HongKong;
    case QLocale::Taiwan:
        return Script::Taiwan;
    default:
        break;
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
    // Loading the dictionaries takes a while; it overlaps with the start of
    // the window system, and the first text shown waits for it.
    session() = makeSession(scriptFor(QLocale::system()), QString(), std::launch::async);
}

Script current()
{
    const std::shared_ptr<Session> &s = session();
    return s && s->loaded() ? s->script : Script::Simplified;
}

QString display(const QString &simplified)
{
    const std::shared_ptr<Session> &s = session();
    const Converter *converter = s ? s->loaded() : nullptr;
    if (!converter || simplified.isEmpty())
        return simplified;
    return converter->convert(simplified);
}

Override::Override(Script script, const QString &config)
    : ScopedOverride(session(), makeSession(script, config, std::launch::deferred))
{
}

} // namespace script
