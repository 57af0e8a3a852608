#pragma once
// The committed copy's view of a real table file through the platform: its
// bytes, SQLite's lock bytes in it as another process holds them, and the
// rollback journal and WAL file beside it.
#include "data/snapshot/committed_copy.h"
#include "platform/file_access.h"

#include <QString>

namespace uriage::data {

class LiveFileSource : public CopySource {
public:
    // `file` is the table file at `filePath`, open for reading.
    LiveFileSource(const platform::OpenFile& file, const QString& filePath);

    bool readAt(long long offset, unsigned char* into, std::size_t bytes) override;
    LockTest writerLock() override;
    bool journalInUse() override;
    bool walInUse() override;
    FileStamp stamp() override;

private:
    const platform::OpenFile& file_;
    QString journalPath_;
    QString walPath_;
};

} // namespace uriage::data
