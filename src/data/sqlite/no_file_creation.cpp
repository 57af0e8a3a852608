#include "data/sqlite/no_file_creation.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <mutex>

namespace uriage::data {
namespace {

thread_local int guards = 0;

#ifndef _WIN32
// The unix VFS opens every file through its replaceable "open" system call.
using OpenCall = int (*)(const char*, int, int);
OpenCall originalOpen = nullptr;

int openWithoutCreating(const char* path, int flags, int mode)
{
    if (guards > 0)
        flags &= ~(O_CREAT | O_EXCL);
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
#else
// Not yet on Windows: its VFS opens files through CreateFileW, which could be
// replaced the same way. The file checks before the open still apply there.
void install() {}
#endif

} // namespace

NoFileCreation::NoFileCreation()
{
    install();
    ++guards;
}

NoFileCreation::~NoFileCreation() { --guards; }

} // namespace uriage::data
