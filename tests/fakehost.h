#pragma once
// Test doubles for the host: a registry of the test's own making, a
// launcher that records instead of starting, and small value builders.
#include "platform/Launcher.h"
#include "platform/Registry.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>
#include <cstring>

namespace testsupport {

// A registry of the test's own making, keeping the system's rules: keys
// open under a root, values come with a type and fit the caller's buffer or
// are refused, and every opened key should be closed again.
class FakeRegistry : public registry::Backend
{
public:
    struct Value {
        quint32 type = 0;
        QByteArray data;
    };

    void set(quint32 root, const QString &path, const QString &name, quint32 type, const QByteArray &data)
    {
        keys[keyId(root, path)][name.toLower()] = {type, data};
    }
    void addKey(quint32 root, const QString &path) { keys[keyId(root, path)]; }
    void deny(quint32 root, const QString &path) { denied.insert(keyId(root, path)); }

    long openKey(quint32 root, const QString &path, quint32 access, registry::Handle *key) override
    {
        const QString id = keyId(root, path);
        accessAsked.append(access);
        openedPaths.append(path);
        if (denied.contains(id))
            return registry::kAccessDenied;
        if (!keys.contains(id))
            return registry::kFileNotFound;
        const registry::Handle h = nextHandle++;
        openHandles.insert(h, id);
        *key = h;
        return registry::kSuccess;
    }

    long queryValue(registry::Handle key, const QString &name, quint32 *type, char *data, quint32 *length) override
    {
        if (!openHandles.contains(key))
            return registry::kInvalidHandle;
        queriedNames.append(name);
        const auto &values = keys[openHandles[key]];
        const auto it = values.find(name.toLower());
        if (it == values.end())
            return registry::kFileNotFound;
        const quint32 room = *length;
        *type = it->type;
        *length = quint32(it->data.size());
        if (quint32(it->data.size()) > room)
            return registry::kMoreData;
        if (data)
            std::memcpy(data, it->data.constData(), size_t(it->data.size()));
        return registry::kSuccess;
    }

    long closeKey(registry::Handle key) override
    {
        ++closes;
        return openHandles.remove(key) ? registry::kSuccess : registry::kInvalidHandle;
    }

    QHash<QString, QHash<QString, Value>> keys;
    QSet<QString> denied;
    QHash<registry::Handle, QString> openHandles;
    QList<quint32> accessAsked;
    QStringList openedPaths;
    QStringList queriedNames;
    registry::Handle nextHandle = 0x1000;
    int closes = 0;

private:
    static QString keyId(quint32 root, const QString &path)
    {
        return QString::number(root, 16) + QLatin1Char(':') + path.toLower();
    }
};

// Records what would have been started; `works` says whether it starts.
struct LaunchRecorder {
    explicit LaunchRecorder(bool works = true)
        : override_([this, works](const QString &path) {
              started.append(path);
              return works;
          })
    { }
    QStringList started;

private:
    launcher::Override override_;
};

inline QByteArray withNul(const QByteArray &b)
{
    return b + QByteArray(1, '\0');
}

inline QByteArray number(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

// Writes an executable script called `name` into `dir`.
inline QString writeProgram(const QString &dir, const QString &name)
{
    const QString path = dir + QLatin1Char('/') + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\nexit 0\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace testsupport
