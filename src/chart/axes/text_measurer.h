#pragma once
// Text measuring as the layout needs it, behind an interface so that the
// layout arithmetic can be checked with fixed metrics.
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>

namespace uriage::chart {

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int width(const QString& text) const = 0;
    // The line height of the font: the height of the text "W".
    virtual int lineHeight() const = 0;
};

// Measures with a real font, each text once while the font's widths are kept.
class FontTextMeasurer final : public TextMeasurer {
public:
    explicit FontTextMeasurer(const QFont& font);
    int width(const QString& text) const override;
    int lineHeight() const override { return lineHeight_; }

private:
    QFontMetrics metrics_;
    QHash<QString, int>* knownWidths_;
    int lineHeight_;
};

} // namespace uriage::chart
