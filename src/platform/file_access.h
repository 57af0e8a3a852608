#pragma once
// What the engine asks of the operating system about files: what lies at a
// path and whether this process may use it, memory made resident before a
// file is read into it, reading an open file at an offset, and whether
// another process holds a lock on part of an open file. Value types and plain C++, so
// that every platform's counterpart compiles without the others' headers.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace uriage::platform {

enum class PathKind {
    Missing,        // nothing there, or a part of the path is no directory
    AccessDenied,   // a directory on the way may not be searched
    Directory,
    RegularFile,
    Other,          // a device, a pipe, a socket
};

struct PathStatus {
    PathKind kind = PathKind::Missing;
    long long size = 0;   // bytes, for a regular file
    // Files this process creates next to this one will belong to its owner:
    // the process runs as the owner, or as the administrator whose new files
    // the database library hands over to the owner.
    bool createdFilesKeepOwner = false;
};

PathStatus pathStatus(const QString& path);

// The bytes of a path for libraries that take an 8-bit file name: the
// system's own bytes on POSIX; UTF-8 on Windows, which such libraries (the
// database library among them) widen before they open the file.
QByteArray pathBytes(const QString& path);

// What a process may do with a path; combine with |.
enum Access : unsigned {
    ReadAccess = 1,
    WriteAccess = 2,
    SearchAccess = 4,   // enter a directory
};

// Whether this process, as whom it acts, may use the path so.
bool mayAccess(const QString& path, unsigned access);

// SQLite's file layer opens every file through one system call that a program
// may replace: its name here ("open" on POSIX, "CreateFileW" on Windows), and
// a replacement that calls `original` with two rules of ours. While
// `refuseCreation()` returns true on the calling thread it never creates a
// file: a missing file fails to open instead. On Windows it also shares every
// file it opens for reading, writing and deletion with other programs, so that
// the receipt program may still rename or delete its table while SQLite reads
// it. Both functions are for one replacement per process.
using SystemCall = void (*)();
const char* sqliteOpenCallName();
SystemCall sqliteOpenReplacement(SystemCall original, bool (*refuseCreation)());

// Who holds a lock on a range of a file, as another process sees it.
enum class LockState {
    Unlocked,
    ReadLocked,    // another process shares the range
    WriteLocked,   // another process holds the range exclusively
    Unknown,       // the system cannot tell without taking the lock itself
};

// Whether OpenFile::lockOn only asks (POSIX: the system names the holder) or
// takes a shared lock for a moment to find out (Windows), which a writer
// wanting that range at the same moment would find in its way.
bool lockTestIsSilent();

// Whether holding a file open leaves another process free to delete it and
// create it again at once (POSIX: the name goes at once) or not (Windows: a
// deleted file's name stays taken while any handle to it is open).
bool openingIsSilent();

// Which file an open handle reaches, whatever its path: the volume (device)
// and the file's number on it. Zero when it cannot be told.
struct FileIdentity {
    unsigned long long volume = 0;
    unsigned long long file = 0;
    bool known() const { return volume != 0 || file != 0; }
    bool operator==(const FileIdentity&) const = default;
};

// A file open for reading only. Closing it may give up locks that this
// process holds on the same file through other handles (POSIX locks belong
// to the process and the file): close it only when those are released.
class OpenFile {
public:
    enum class Error { None, PermissionDenied, NotAFile, Other };

    // Opens `path` read-only, sharing it with readers and writers alike. What
    // is no regular file (a pipe, a device, a directory) is refused without
    // waiting for a peer, with NotAFile.
    explicit OpenFile(const QString& path);
    ~OpenFile();
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool isOpen() const { return error_ == Error::None; }
    Error error() const { return error_; }

    // The file's size now; negative when it cannot be told.
    long long size() const;

    // Reads up to `bytes` bytes from `offset` into `into`: how many arrived,
    // 0 at the end of the file, negative when the system fails to read.
    long long readAt(long long offset, unsigned char* into, std::size_t bytes) const;

    // When the file was last written, in nanoseconds since 1970; -1 when it
    // cannot be told.
    long long modifiedNanoseconds() const;

    // Which file this is; unknown (zeros) when it cannot be told.
    FileIdentity identity() const;

    // Whether another process holds a lock on any byte of [start, end).
    LockState lockOn(long long start, long long end) const;

private:
    std::intptr_t handle_ = -1;
    Error error_ = Error::Other;
};

// Room for a file's bytes: reserved, writable and resident before it is
// used, so that filling it later causes no page faults (large pages where the
// system offers them). Throws std::bad_alloc when the room cannot be had.
class ResidentMemory {
public:
    explicit ResidentMemory(std::size_t bytes);
    ~ResidentMemory();
    ResidentMemory(const ResidentMemory&) = delete;
    ResidentMemory& operator=(const ResidentMemory&) = delete;

    unsigned char* data() const { return data_; }
    // At least the bytes asked for.
    std::size_t size() const { return size_; }

private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace uriage::platform
