#pragma once
// Whether a table file provably still holds the committed state an earlier
// lock-free copy of it held, so that what was computed from that copy may be
// shown again without copying the file anew.
//
// The proof is the file's identity (volume and file number), its size and
// modification time, and its whole 100-byte header with the change counter
// that every rollback-mode commit moves, seen with no writer's lock, no
// journal with content and no WAL frames, before and after they are compared.
// A file system keeps the modification time coarsely, so a copy proves
// nothing later unless the file was last written long enough before it was
// taken: any write since then then shows as a later time. A WAL-mode file
// proves nothing: its commits go to the -wal file and need not touch the main
// file at all, and a checkpoint may bring them in without the counter moving.
#include "data/snapshot/committed_copy.h"
#include "platform/file_access.h"

#include <array>
#include <optional>

namespace uriage::data {

struct FileProof {
    platform::FileIdentity identity;
    FileStamp stamp;
    std::array<unsigned char, 100> header{};
};

// How long a file's last modification must lie behind a copy before its time
// tells every later write apart: FAT keeps the time to two seconds.
constexpr long long kSettledNanoseconds = 2'000'000'000LL;

// The proof a committed copy of the file `identity` gives, when it copied a
// rollback-mode file last written at least kSettledNanoseconds before
// `nowNanoseconds` (the wall clock after the copy, in nanoseconds since 1970).
std::optional<FileProof> proofOfCopy(const platform::FileIdentity& identity, const CommittedCopy& copy,
                                     long long nowNanoseconds);

// Whether `source`, the file `identity` reaches now, holds the state `proof`
// describes: the same identity, stamp and header, with no writer at work on
// it before and after they are read.
bool stillUnchanged(CopySource& source, const platform::FileIdentity& identity, const FileProof& proof);

// The wall clock now, in nanoseconds since 1970, as file times are told.
long long wallClockNanoseconds();

} // namespace uriage::data
