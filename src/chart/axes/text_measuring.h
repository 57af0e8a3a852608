#pragma once
// Where the chart gets its text measures for layout: from the fonts
// themselves, unless another source is installed for the process (measures
// recorded on one system can then be replayed on another, so that the
// layout arithmetic is compared apart from the font rasteriser).
#include "chart/axes/text_measurer.h"

#include <QFont>
#include <memory>

namespace uriage::chart {

class TextMeasuringSource {
public:
    virtual ~TextMeasuringSource() = default;
    virtual std::unique_ptr<TextMeasurer> measurerFor(const QFont& font) const = 0;
};

// Measures with the font itself.
class FontMeasuringSource final : public TextMeasuringSource {
public:
    std::unique_ptr<TextMeasurer> measurerFor(const QFont& font) const override;
};

// The measurer for a chart text in this font, from the installed source.
std::unique_ptr<TextMeasurer> chartTextMeasurer(const QFont& font);

// Installs a source for the process while it lives, then restores the one
// before. The source must outlive it; scopes nest.
class ScopedTextMeasuringSource {
public:
    explicit ScopedTextMeasuringSource(const TextMeasuringSource& source);
    ~ScopedTextMeasuringSource();
    ScopedTextMeasuringSource(const ScopedTextMeasuringSource&) = delete;
    ScopedTextMeasuringSource& operator=(const ScopedTextMeasuringSource&) = delete;

private:
    const TextMeasuringSource* previous_;
};

} // namespace uriage::chart
