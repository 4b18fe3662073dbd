#include "Registry.h"

#include <QByteArray>

namespace registry {

Backend::~Backend() = default;

Backend &current()
{
    Backend *replacement = platform::Seam<Backend *, BackendTag>::value();
    return replacement ? *replacement : systemRegistry();
}

bool readValueText(quint32 root, const QString &keyPath, const QString &valueName, QString &received)
{
    constexpr int kValueBufferSize = 1024;
    Backend &reg = current();
    Handle key = 0;
    if (reg.openKey(root, keyPath, kAccessRead, &key) != kSuccess) {
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
class EmptyRegistry : public Backend
{
public:
    long openKey(quint32, const QString &, quint32, Handle *) override { return kFileNotFound; }
    long queryValue(Handle, const QString &, quint32 *, char *, quint32 *) override { return kInvalidHandle; }
    long closeKey(Handle) override { return kInvalidHandle; }
};
} // namespace

Backend &systemRegistry()
{
    static EmptyRegistry registry; // stateless; one for the process
    return registry;
}

} // namespace registry
#endif
