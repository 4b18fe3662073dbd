#include "Registry.h"

#include <QByteArray>

namespace registry {

Backend::~Backend() = default;

Backend *current()
{
    Backend *replacement = platform::Seam<Backend *, BackendTag>::value();
    return replacement ? replacement : systemRegistry();
}

bool readValueText(quint32 root, const QString &keyPath, const QString &valueName, QString &received)
{
    constexpr int kValueBufferSize = 1024;
    Backend *backend = current();
    Handle key = 0;
    if (!backend || backend->openKey(root, keyPath, kAccessRead, &key) != kSuccess) {
        received.clear();
        return false;
    }

    QByteArray buffer(kValueBufferSize, '\0');
    quint32 type = kTypeNone;
    quint32 length = kValueBufferSize;
    if (backend->queryValue(key, valueName, &type, buffer.data(), &length) != kSuccess) {
        received.clear();
        backend->closeKey(key);
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

    backend->closeKey(key);
    return true;
}

} // namespace registry

#ifndef Q_OS_WIN
registry::Backend *registry::systemRegistry()
{
    return nullptr;
}
#endif
