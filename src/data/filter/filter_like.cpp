#include "data/filter/filter_like.h"

namespace uriage::data::filter {

bool likeMatches(const QString& text, const QString& pattern)
{
    // Greedy scan that returns to the last "%" on a mismatch, letting it take one
    // more character: no recursion, no exponential backtracking.
    qsizetype t = 0, p = 0;
    qsizetype starPattern = -1, starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == QLatin1Char('_') || pattern[p] == text[t])
            && pattern[p] != QLatin1Char('%')) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('%')) {
            starPattern = p++;
            starText = t;
        } else if (starPattern >= 0) {
            p = starPattern + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('%'))
        ++p;
    return p == pattern.size();
}

} // namespace uriage::data::filter
