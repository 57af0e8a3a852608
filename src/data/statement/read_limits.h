#pragma once
// How long and how often one read of the table files may try: the lock-free
// copy's tries and time budgets, and the time all statements over one set of
// copies may take together.
#include "data/snapshot/committed_copy.h"

namespace uriage::data {

struct ReadLimits {
    CommittedCopyLimits copy;
    int statementMilliseconds = 60000;
};

} // namespace uriage::data
