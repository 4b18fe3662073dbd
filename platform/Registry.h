#pragma once
#include "Seam.h"

#include <QString>
#include <QtGlobal>

// Read access to the system registry through the three calls the program
// needs: open a key under a root, read one value with its type and length,
// close the key. The calls keep the system's conventions (result codes,
// value types, a caller-sized data buffer), so that code written against
// them behaves the same over the real registry and over a test's fake one.
namespace registry {

// Root keys, by the 32-bit handle values the system gives them.
constexpr quint32 kClassesRoot = 0x80000000u;
constexpr quint32 kCurrentUser = 0x80000001u;
constexpr quint32 kLocalMachine = 0x80000002u;
constexpr quint32 kUsers = 0x80000003u;

// Value types.
constexpr quint32 kTypeNone = 0;
constexpr quint32 kTypeText = 1; // REG_SZ
constexpr quint32 kTypeExpandText = 2; // REG_EXPAND_SZ
constexpr quint32 kTypeBinary = 3; // REG_BINARY
constexpr quint32 kTypeNumber = 4; // REG_DWORD, little-endian
constexpr quint32 kTypeMultiText = 7; // REG_MULTI_SZ

// Result codes.
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kMoreData = 234;

// Access asked for when opening a key: reading only (KEY_READ, 0x20019), the
// access every user has to the machine's keys.
constexpr quint32 kAccessRead = 0x20019u;

using Handle = quintptr;

class Backend
{
public:
    virtual ~Backend();
    // Opens `path` (components separated by '\') under a root key.
    virtual long openKey(quint32 root, const QString &path, quint32 access, Handle *key) = 0;
    // Reads the value `name` of an open key. On entry *length is the size of
    // `data` in bytes; on return it is the length of the value's data, and
    // kMoreData means the data did not fit (nothing is copied then).
    virtual long queryValue(Handle key, const QString &name, quint32 *type, char *data, quint32 *length) = 0;
    virtual long closeKey(Handle key) = 0;
};

// The registry in use: the system's, unless an Override puts another one in
// (it stays owned by the caller); none where the system keeps no registry.
Backend *current();
using Override = platform::Seam<Backend *, struct BackendTag>::Override;

// The system's registry: on Windows the real one, elsewhere none.
Backend *systemRegistry();

// Reads the value `valueName` of the key `keyPath` under `root` from the
// registry in use, as text, into `received`. A text value is taken as it is
// (without its terminating NUL), a 32-bit number in decimal; a value of any
// other type leaves `received` as it was. False, with `received` emptied,
// when the key cannot be opened or the value cannot be read (a value longer
// than the 1024-byte buffer cannot).
bool readValueText(quint32 root, const QString &keyPath, const QString &valueName, QString &received);

} // namespace registry
