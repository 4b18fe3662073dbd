#include "Registry.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace registry {
namespace {

HKEY rootHandle(quint32 root)
{
    // The predefined roots are 32-bit values, sign-extended to a handle.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
}

class SystemRegistry : public Backend
{
public:
    long openKey(quint32 root, const QString &path, quint32 access, Handle *key) override
    {
        HKEY opened = nullptr;
        const QByteArray ansiPath = path.toLocal8Bit();
        const LONG rc = RegOpenKeyExA(rootHandle(root), ansiPath.constData(), 0, REGSAM(access), &opened);
        if (rc == ERROR_SUCCESS)
            *key = reinterpret_cast<Handle>(opened);
        return rc;
    }

    long queryValue(Handle key, const QString &name, quint32 *type, char *data, quint32 *length) override
    {
        const QByteArray ansiName = name.toLocal8Bit();
        DWORD valueType = 0;
        DWORD size = *length;
        const LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), ansiName.constData(), nullptr, &valueType,
                                         reinterpret_cast<LPBYTE>(data), &size);
        *type = valueType;
        *length = size;
        return rc;
    }

    long closeKey(Handle key) override { return RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

} // namespace

Backend *systemRegistry()
{
    static SystemRegistry registry; // stateless: the system keeps the keys
    return &registry;
}

} // namespace registry
