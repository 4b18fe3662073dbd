#include "Registry.h"

#include <QStandardPaths>
#include <QStringList>
#include <cstring>
#include <set>

namespace registry {

Backend::~Backend() = default;

namespace {
Backend *&replacement()
{
    static Backend *backend = nullptr;
    return backend;
}
} // namespace

Backend &current()
{
    return replacement() ? *replacement() : systemRegistry();
}

Override::Override(Backend *backend) : ScopedOverride(replacement(), backend) { }

bool readValueText(quint32 root, const QString &keyPath, const QString &valueName, QString &received)
{
    constexpr int kValueBufferSize = 1024;
    Backend &reg = current();
    Handle key = 0;
    if (reg.openKey(root, keyPath, kAccessReadWrite, &key) != kSuccess) {
        received.clear();
        return false;
    }

    QByteArray buffer(kValueBufferSize, '\0');
    quint32 type = kTypeNone;
    quint32 length = kValueBufferSize;
    if (reg.queryValue(key, valueName, &type, buffer.data(), &length) != kSuccess) {
        received.clear();
        reg.closeKey(key);
        return false;
    }

    QByteArray data(buffer.constData(), int(qMin<quint32>(length, kValueBufferSize)));
    if (data.endsWith('\0'))
        data.chop(1);

    switch (type) {
    case kTypeText: received = QString::fromLocal8Bit(data); break;
    case kTypeNumber: {
        // Little-endian, as the system stores it; the text is the decimal value.
        quint32 number = 0;
        const QByteArray raw(buffer.constData(), int(qMin<quint32>(length, 4)));
        for (int i = raw.size() - 1; i >= 0; --i)
            number = (number << 8) | quint8(raw.at(i));
        received = QString::number(number);
        break;
    }
    default: break; // any other kind of value leaves the text as it was
    }

    reg.closeKey(key);
    return true;
}

} // namespace registry

#ifndef Q_OS_WIN
namespace registry {
namespace {

// Without a system registry there is one entry worth having: where the
// tool that shows the machine's system information lives. The key and value
// are the ones such a tool registers its path under on Windows.
const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kToolValue = QStringLiteral("PATH");

QString findSystemInformationTool()
{
    const char *candidates[] = {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"};
    for (const char *name : candidates) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

class ToolRegistry : public Backend
{
public:
    long openKey(quint32 root, const QString &path, quint32, Handle *key) override
    {
        if (root != kLocalMachine || path.compare(kToolKey, Qt::CaseInsensitive) != 0)
            return kFileNotFound;
        // The key exists while there is a tool to name.
        if (findSystemInformationTool().isEmpty())
            return kFileNotFound;
        const Handle h = nextHandle_++;
        open_.insert(h);
        *key = h;
        return kSuccess;
    }

    long queryValue(Handle key, const QString &name, quint32 *type, char *data, quint32 *length) override
    {
        if (!open_.count(key))
            return kInvalidHandle;
        if (name.compare(kToolValue, Qt::CaseInsensitive) != 0)
            return kFileNotFound;
        QByteArray bytes = findSystemInformationTool().toLocal8Bit();
        if (bytes.isEmpty())
            return kFileNotFound;
        bytes.append('\0'); // stored the usual way, with its terminating NUL
        const quint32 room = *length;
        *type = kTypeText;
        *length = quint32(bytes.size());
        if (!data)
            return kSuccess; // only the type and length were asked for
        if (quint32(bytes.size()) > room)
            return kMoreData;
        std::memcpy(data, bytes.constData(), size_t(bytes.size()));
        return kSuccess;
    }

    long closeKey(Handle key) override { return open_.erase(key) ? kSuccess : kInvalidHandle; }

private:
    std::set<Handle> open_;
    Handle nextHandle_ = 1;
};

} // namespace

Backend &systemRegistry()
{
    static ToolRegistry registry;
    return registry;
}

} // namespace registry
#endif
