#include "chart/axes/text_measurer.h"

#include "chart/axes/per_font_cache.h"

namespace uriage::chart {

namespace {

PerFontCache<int>& knownWidths()
{
    static PerFontCache<int> cache;
    return cache;
}

} // namespace

FontTextMeasurer::FontTextMeasurer(const QFont& font)
    : metrics_(font), knownWidths_(knownWidths().tableFor(font)), lineHeight_(metrics_.height())
{
}

int FontTextMeasurer::width(const QString& text) const
{
    if (!knownWidths_)
        return metrics_.horizontalAdvance(text);
    if (const auto found = knownWidths_->constFind(text); found != knownWidths_->cend())
        return *found;
    return PerFontCache<int>::remember(*knownWidths_, text, metrics_.horizontalAdvance(text));
}

} // namespace uriage::chart
