#include "data/database_path.h"

#include "common/cp932.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace uriage::data {

bool isDirectoryPath(const QByteArray& name)
{
    for (int i = 0; i < name.size();) {
        const char c = name[i];
        if (c == ':' || c == '\\')
            return true;
        i += cp932::charLength(name, i);
    }
    return false;
}

bool isDirectoryPath(const QString& name)
{
    return name.startsWith(QChar('/')) || isDirectoryPath(cp932::encode(name));
}

DriveRoots DriveRoots::fromEnvironment()
{
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty())
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    return DriveRoots{prefix};
}

QString findEntry(const QString& directory, const QString& name)
{
    const QString exact = directory + QChar('/') + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return directory + QChar('/') + entry;
    }
    return exact;
}

namespace {

// Splits at "\" and "/" bytes that are not the second byte of a double-byte character.
QStringList splitComponents(const QByteArray& bytes)
{
    QStringList parts;
    QByteArray current;
    for (int i = 0; i < bytes.size();) {
        const int length = cp932::charLength(bytes, i);
        const char c = bytes[i];
        if (length == 1 && (c == '\\' || c == '/')) {
            parts << cp932::decode(current);
            current.clear();
        } else {
            current += bytes.mid(i, length);
        }
        i += length;
    }
    parts << cp932::decode(current);
    return parts;
}

} // namespace

QString nativeDirectory(const QString& name, const DriveRoots& roots)
{
#ifdef Q_OS_WIN
    // Windows itself knows the drives, both separators and letter case.
    (void)roots;
    return name;
#endif
    const QByteArray bytes = cp932::encode(name);
    QString base;
    QByteArray rest = bytes;
    const bool hasDrive = bytes.size() >= 2 && bytes[1] == ':' && QChar::fromLatin1(bytes[0]).isLetter()
                          && static_cast<unsigned char>(bytes[0]) < 0x80;
    if (hasDrive) {
        const QChar drive = QChar::fromLatin1(bytes[0]).toLower();
        base = drive == QChar('c') ? roots.winePrefix + QStringLiteral("/drive_c")
                                   : roots.winePrefix + QStringLiteral("/dosdevices/") + drive + QChar(':');
        rest = bytes.mid(2);
    } else if (bytes.startsWith('/') || bytes.startsWith('\\')) {
        base = QString();
    } else {
        base = QDir::currentPath();
    }
    QString path = base;
    for (const QString& part : splitComponents(rest)) {
        if (part.isEmpty() || part == QStringLiteral("."))
            continue;
        path = findEntry(path.isEmpty() ? QStringLiteral("/") : path, part);
        if (path.startsWith(QStringLiteral("//")))
            path.remove(0, 1);
    }
    return path.isEmpty() ? QStringLiteral("/") : path;
}

} // namespace uriage::data
