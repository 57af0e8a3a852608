#pragma once
// The database name of a query: a directory path when it contains ":" or "\"
// (walked one CP932 character at a time), and where that directory lies here.
#include <QByteArray>
#include <QString>

namespace uriage::data {

// True when the name (CP932 bytes) holds ":" or "\" outside a double-byte
// character. A lead byte that is the last byte stands alone and ends the walk.
bool isDirectoryPath(const QByteArray& name);

// Also true for a native absolute path ("/..."), which the probe and tests use.
bool isDirectoryPath(const QString& name);

// Where a Windows program run on this system keeps its drives.
struct DriveRoots {
    QString winePrefix;   // $WINEPREFIX, or ~/.wine when unset

    static DriveRoots fromEnvironment();
};

// The native directory for a directory path: "C:\a\b" is <prefix>/drive_c/a/b,
// another drive letter X is <prefix>/dosdevices/x:/..., "\" separators (never
// the second byte of a double-byte character) become "/". A component that
// does not exist as written is matched without regard to letter case, as
// Windows programs expect. On Windows itself the name is the directory as it
// stands.
QString nativeDirectory(const QString& name, const DriveRoots& roots = DriveRoots::fromEnvironment());

// The entry named `name` in `directory`, matched exactly or else without regard
// to letter case; `directory`/`name` when neither exists.
QString findEntry(const QString& directory, const QString& name);

} // namespace uriage::data
