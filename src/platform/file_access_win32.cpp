// The engine's file calls on Windows: GetFileAttributesExW, CreateFileW
// sharing the file with every other reader and writer, ReadFile at explicit
// offsets, and committed memory touched page by page. Windows cannot test a
// byte-range lock without taking it: a lock test takes a shared lock that
// fails at once where another handle holds the range exclusively, and gives
// it up at once.
#include "platform/file_access.h"

#include <QDir>

#include <windows.h>

#include <new>
#include <string>

namespace uriage::platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring nativePath(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

bool attributesOf(const QString& path, WIN32_FILE_ATTRIBUTE_DATA* data)
{
    return GetFileAttributesExW(nativePath(path).c_str(), GetFileExInfoStandard, data) != 0;
}

// Whether the file can be opened for `access` while others keep it open.
bool opensFor(const QString& path, DWORD access, DWORD flags)
{
    HANDLE h = CreateFileW(nativePath(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

} // namespace

QByteArray pathBytes(const QString& path) { return QDir::toNativeSeparators(path).toUtf8(); }

PathStatus pathStatus(const QString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!attributesOf(path, &data))
        return PathStatus{GetLastError() == ERROR_ACCESS_DENIED ? PathKind::AccessDenied : PathKind::Missing, 0, false};
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return PathStatus{PathKind::Directory, 0, true};
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
        return PathStatus{PathKind::Other, 0, true};
    const long long size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // Files a process creates carry no owner that the database library hands on.
    return PathStatus{PathKind::RegularFile, size, true};
}

bool mayAccess(const QString& path, unsigned access)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!attributesOf(path, &data))
        return false;
    const bool directory = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (directory) {
        // Directories are entered and listed through a backup-semantics handle.
        return opensFor(path, FILE_LIST_DIRECTORY, FILE_FLAG_BACKUP_SEMANTICS);
    }
    if ((access & WriteAccess) && (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        return false;
    DWORD wanted = 0;
    if (access & ReadAccess)
        wanted |= GENERIC_READ;
    if (access & WriteAccess)
        wanted |= GENERIC_WRITE;
    return wanted == 0 || opensFor(path, wanted, FILE_ATTRIBUTE_NORMAL);
}

OpenFile::OpenFile(const QString& path)
{
    HANDLE h = CreateFileW(nativePath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error_ = GetLastError() == ERROR_ACCESS_DENIED ? Error::PermissionDenied : Error::Other;
        return;
    }
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        error_ = Error::NotAFile;
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    error_ = Error::None;
}

OpenFile::~OpenFile()
{
    if (error_ == Error::None)
        CloseHandle(handleOf(handle_));
}

long long OpenFile::size() const
{
    LARGE_INTEGER size{};
    if (error_ != Error::None || !GetFileSizeEx(handleOf(handle_), &size))
        return -1;
    return size.QuadPart;
}

long long OpenFile::readAt(long long offset, unsigned char* into, std::size_t bytes) const
{
    // One call reads at most what a DWORD counts.
    const DWORD chunk = bytes > 0x40000000 ? DWORD(0x40000000) : DWORD(bytes);
    OVERLAPPED at{};
    at.Offset = DWORD(static_cast<unsigned long long>(offset) & 0xffffffffu);
    at.OffsetHigh = DWORD(static_cast<unsigned long long>(offset) >> 32);
    DWORD got = 0;
    if (ReadFile(handleOf(handle_), into, chunk, &got, &at))
        return got;
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

long long OpenFile::modifiedNanoseconds() const
{
    FILETIME written{};
    if (error_ != Error::None || !GetFileTime(handleOf(handle_), nullptr, nullptr, &written))
        return -1;
    // 100-nanosecond intervals since 1601, counted from 1970 as on POSIX:
    // nanoseconds since 1601 would overflow a long long.
    constexpr long long kIntervalsFrom1601To1970 = 116444736000000000LL;
    const long long intervals = (static_cast<long long>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return (intervals - kIntervalsFrom1601To1970) * 100;
}

FileIdentity OpenFile::identity() const
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (error_ != Error::None || !GetFileInformationByHandle(handleOf(handle_), &info))
        return {};
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

LockState OpenFile::lockOn(long long start, long long end) const
{
    if (handle_ == -1 || end <= start)
        return handle_ == -1 ? LockState::Unknown : LockState::Unlocked;
    const auto length = static_cast<unsigned long long>(end - start);
    OVERLAPPED at{};
    at.Offset = DWORD(static_cast<unsigned long long>(start) & 0xffffffffu);
    at.OffsetHigh = DWORD(static_cast<unsigned long long>(start) >> 32);
    const DWORD low = DWORD(length & 0xffffffffu);
    const DWORD high = DWORD(length >> 32);
    // Shared and not waiting: it stands beside other readers' shared locks and
    // fails only where a writer holds the range. Held for as short as can be.
    if (LockFileEx(handleOf(handle_), LOCKFILE_FAIL_IMMEDIATELY, 0, low, high, &at)) {
        UnlockFileEx(handleOf(handle_), 0, low, high, &at);
        return LockState::Unlocked;   // or shared by readers: not told apart here
    }
    const DWORD error = GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? LockState::WriteLocked : LockState::Unknown;
}

bool lockTestIsSilent() { return false; }

bool openingIsSilent() { return false; }

ResidentMemory::ResidentMemory(std::size_t bytes)
{
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize ? system.dwPageSize : 4096;
    size_ = ((bytes ? bytes : 1) + page - 1) / page * page;
    void* memory = VirtualAlloc(nullptr, size_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!memory)
        throw std::bad_alloc();
    data_ = static_cast<unsigned char*>(memory);
    // Committed pages become resident when first touched: touch them now.
    for (std::size_t at = 0; at < size_; at += page)
        data_[at] = 0;
}

ResidentMemory::~ResidentMemory()
{
    if (data_)
        VirtualFree(data_, 0, MEM_RELEASE);
}

namespace {

using CreateFileCall = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
CreateFileCall originalCreateFile = nullptr;
bool (*creationRefused)() = nullptr;

HANDLE WINAPI createFileWithOurRules(LPCWSTR path, DWORD access, DWORD sharing, LPSECURITY_ATTRIBUTES security,
                                     DWORD disposition, DWORD flags, HANDLE model)
{
    if (creationRefused()) {
        if (disposition == CREATE_NEW || disposition == CREATE_ALWAYS) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        if (disposition == OPEN_ALWAYS)
            disposition = OPEN_EXISTING;
    }
    return originalCreateFile(path, access, sharing | kShareAll, security, disposition, flags, model);
}

} // namespace

const char* sqliteOpenCallName() { return "CreateFileW"; }

SystemCall sqliteOpenReplacement(SystemCall original, bool (*refuseCreation)())
{
    originalCreateFile = reinterpret_cast<CreateFileCall>(original);
    creationRefused = refuseCreation;
    return reinterpret_cast<SystemCall>(&createFileWithOurRules);
}

} // namespace uriage::platform
