#include "data/sqlite/no_file_creation.h"

#include "platform/file_access.h"

#include <sqlite3.h>

#include <mutex>

namespace uriage::data {
namespace {

thread_local int guards = 0;

bool creationRefused() { return guards > 0; }

// Every file SQLite's file layer opens goes through its replaceable open call;
// ours refuses creation while a guard lives (and on Windows shares each file
// for deletion). Installed once, before the first guarded open.
void install()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        if (!vfs || vfs->iVersion < 3 || !vfs->xGetSystemCall || !vfs->xSetSystemCall)
            return;
        const char* name = platform::sqliteOpenCallName();
        if (sqlite3_syscall_ptr original = vfs->xGetSystemCall(vfs, name))
            vfs->xSetSystemCall(vfs, name, platform::sqliteOpenReplacement(original, &creationRefused));
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
