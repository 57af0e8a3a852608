#pragma once
// Matching a text against a LIKE pattern.
#include <QString>

namespace uriage::data::filter {

// "%" stands for any run of characters (also none), "_" for exactly one; every
// other character stands for itself, letter case included. A double-byte
// character counts as one. Runs in time proportional to text times pattern.
bool likeMatches(const QString& text, const QString& pattern);

} // namespace uriage::data::filter
