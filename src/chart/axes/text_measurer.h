#pragma once
// Text measuring as the layout needs it, behind an interface so that the
// layout arithmetic can be checked with fixed metrics.
#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace uriage::chart {

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int width(const QString& text) const = 0;
    // The line height of the font: the height of the text "W".
    virtual int lineHeight() const = 0;
};

// Measures with a real font.
class FontTextMeasurer final : public TextMeasurer {
public:
    explicit FontTextMeasurer(const QFont& font) : metrics_(font) {}
    int width(const QString& text) const override { return metrics_.horizontalAdvance(text); }
    int lineHeight() const override { return metrics_.height(); }

private:
    QFontMetrics metrics_;
};

} // namespace uriage::chart
