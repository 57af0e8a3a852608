#include "chart/axes/text_measuring.h"

namespace uriage::chart {

namespace {

const TextMeasuringSource& fontSource()
{
    static const FontMeasuringSource source;
    return source;
}

// The chart is laid out on the GUI thread only.
const TextMeasuringSource* installed = nullptr;

} // namespace

std::unique_ptr<TextMeasurer> FontMeasuringSource::measurerFor(const QFont& font) const
{
    return std::make_unique<FontTextMeasurer>(font);
}

std::unique_ptr<TextMeasurer> chartTextMeasurer(const QFont& font)
{
    return (installed ? *installed : fontSource()).measurerFor(font);
}

ScopedTextMeasuringSource::ScopedTextMeasuringSource(const TextMeasuringSource& source) : previous_(installed)
{
    installed = &source;
}

ScopedTextMeasuringSource::~ScopedTextMeasuringSource() { installed = previous_; }

} // namespace uriage::chart
