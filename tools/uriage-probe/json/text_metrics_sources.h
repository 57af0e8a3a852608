#pragma once
// Text measuring sources for the chart that record every measure it takes,
// or replay measures recorded before (on another system, say) in place of
// the fonts'.
#include "chart/axes/text_measuring.h"
#include "json/text_metrics.h"

#include <QStringList>

namespace uriage::probe {

// Measures with another source (the fonts, usually) and records each font's
// line height and every text's width.
class RecordingMeasuringSource final : public chart::TextMeasuringSource {
public:
    explicit RecordingMeasuringSource(const chart::TextMeasuringSource& measured) : measured_(measured) {}
    std::unique_ptr<chart::TextMeasurer> measurerFor(const QFont& font) const override;
    const TextMetrics& recorded() const { return recorded_; }

private:
    const chart::TextMeasuringSource& measured_;
    mutable TextMetrics recorded_;
};

// Gives the recorded measures. A font, text or line height the record lacks
// is measured with the font so that the chart can still be finished, and is
// noted: checkComplete() then fails naming it. Where names the record.
class ReplayedMeasuringSource final : public chart::TextMeasuringSource {
public:
    ReplayedMeasuringSource(TextMetrics metrics, QString where);
    std::unique_ptr<chart::TextMeasurer> measurerFor(const QFont& font) const override;

    // Throws a Failure naming the first measure missing from the record.
    void checkComplete() const;

private:
    TextMetrics metrics_;
    QString where_;
    mutable QStringList missing_;
};

} // namespace uriage::probe
