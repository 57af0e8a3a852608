#pragma once
// A realistic practice: open about 300 days a year (closed on Sundays and over
// New Year, the summer holidays and a few other days), 20 to 80 receipts a day,
// insurance fees in yen with co-payments of 10 to 30 %, some fees outside the
// insurance.
#include "receipt_writer.h"

#include <functional>

namespace receipts {

struct DemoOptions {
    int fromYear = 2003;
    int toYear = 2006;
    unsigned long long seed = 1;
    long long count = 0;   // > 0: stop after this many receipts, going on past toYear if needed
};

// Calls `deliver` for every receipt, in date order.
void generateDemo(const DemoOptions& options, const std::function<void(const Receipt&)>& deliver);

} // namespace receipts
