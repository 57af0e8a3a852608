#include "data/snapshot/unchanged_file.h"

#include <chrono>
#include <cstring>

namespace uriage::data {
namespace {

// No writer at work: no lock a writer takes (where the system shows locks
// without taking one), no journal with content, no WAL frames. A writer that
// holds only RESERVED has not touched the file yet, but it is about to: the
// result is computed afresh.
bool noWriterAtWork(CopySource& source)
{
    const LockTest lock = source.writerLock();
    if (lock != LockTest::Free && lock != LockTest::Untested)
        return false;
    return !source.walInUse() && !source.journalInUse();
}

} // namespace

std::optional<FileProof> proofOfCopy(const platform::FileIdentity& identity, const CommittedCopy& copy,
                                     long long nowNanoseconds)
{
    DatabaseHeader header;
    if (copy.outcome != CopyOutcome::Copied || !identity.known()
        || !parseDatabaseHeader(copy.header.data(), copy.header.size(), &header) || header.walMode)
        return std::nullopt;
    if (copy.stamp.size < 0 || copy.stamp.modifiedNanoseconds <= 0
        || nowNanoseconds - copy.stamp.modifiedNanoseconds < kSettledNanoseconds)
        return std::nullopt;
    return FileProof{identity, copy.stamp, copy.header};
}

bool stillUnchanged(CopySource& source, const platform::FileIdentity& identity, const FileProof& proof)
{
    if (!identity.known() || !(identity == proof.identity) || !noWriterAtWork(source))
        return false;
    std::array<unsigned char, 100> header{};
    if (!(source.stamp() == proof.stamp) || !source.readAt(0, header.data(), header.size()) || header != proof.header)
        return false;
    // A writer that started meanwhile has either not written yet (the state
    // is still the kept one) or shows now, or in the time it left behind.
    return noWriterAtWork(source) && source.stamp() == proof.stamp;
}

long long wallClockNanoseconds()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace uriage::data
