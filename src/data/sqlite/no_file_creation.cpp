#include "data/sqlite/no_file_creation.h"

#include "platform/file_access.h"

#include <sqlite3.h>

#include <mutex>

namespace uriage::data {
namespace {

thread_local int guards = 0;

// The unix VFS opens every file through its replaceable "open" system call.
// The Windows VFS has no such call: there the guard installs nothing, and the
// file checks before the open still apply.
using OpenCall = int (*)(const char*, int, int);
OpenCall originalOpen = nullptr;

int openWithoutCreating(const char* path, int flags, int mode)
{
    if (guards > 0)
        flags = platform::withoutCreation(flags);
    return originalOpen(path, flags, mode);
}

void install()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        if (!vfs || vfs->iVersion < 3 || !vfs->xGetSystemCall || !vfs->xSetSystemCall)
            return;
        originalOpen = reinterpret_cast<OpenCall>(vfs->xGetSystemCall(vfs, "open"));
        if (originalOpen)
            vfs->xSetSystemCall(vfs, "open", reinterpret_cast<sqlite3_syscall_ptr>(openWithoutCreating));
    });
}

} // namespace

NoFileCreation::NoFileCreation()
{
    install();
    ++guards;
}

NoFileCreation::~NoFileCreation() { --guards; }

} // namespace uriage::data
