#pragma once
// The last step of both commands: writes the receipts that `fill` adds into
// DIR's receipt table and reports the outcome as the user reads it.
#include "receipt_writer.h"

#include <functional>

namespace receipts {

// Prints "N receipts written to PATH" and returns 0, or prints why the table
// could not be written and returns 1.
int writeReceiptTable(const QString& directory, bool replace, const std::function<void(ReceiptWriter&)>& fill);

} // namespace receipts
