#pragma once
// While a NoFileCreation lives on a thread, SQLite's own file opens on that
// thread never create a file: an open that would create one (a -wal or -shm
// file that vanished with its writer) fails instead, and SQLite reports that
// it cannot open the file. Other threads and other times are not affected.
// From the first guard on, SQLite's opens on Windows also share each file
// for deletion, so the receipt program may rename or delete its table.
namespace uriage::data {

class NoFileCreation {
public:
    NoFileCreation();
    ~NoFileCreation();
    NoFileCreation(const NoFileCreation&) = delete;
    NoFileCreation& operator=(const NoFileCreation&) = delete;
};

} // namespace uriage::data
