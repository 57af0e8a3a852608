#pragma once
// Text measuring with fixed metrics for the axis and layout arithmetic:
// every character is equally wide, every line equally high.
#include "chart/axes/text_measurer.h"

namespace uriage::chart::testing {

class FixedMeasurer final : public TextMeasurer {
public:
    FixedMeasurer(int charWidth, int lineHeight) : charWidth_(charWidth), lineHeight_(lineHeight) {}
    int width(const QString& text) const override { return int(text.size()) * charWidth_; }
    int lineHeight() const override { return lineHeight_; }

private:
    int charWidth_;
    int lineHeight_;
};

} // namespace uriage::chart::testing
