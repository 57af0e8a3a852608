#pragma once
// The window command's text measures: the chart measures with its fonts,
// or records what it measured into a file (--text-metrics-out), or measures
// from such a file instead of the fonts (--text-metrics-in).
#include "json/text_metrics_sources.h"

#include <QString>
#include <optional>

namespace uriage::probe {

class TextMetricsOption {
public:
    // Installs the source for the chart; throws a Failure when the file to
    // replay cannot be read.
    TextMetricsOption(const QString& inFile, const QString& outFile);

    // After the chart was drawn and reported: writes the record, or fails
    // naming a measure the replayed file lacked.
    void finish() const;

private:
    chart::FontMeasuringSource fonts_;
    std::optional<RecordingMeasuringSource> recording_;
    std::optional<ReplayedMeasuringSource> replayed_;
    std::optional<chart::ScopedTextMeasuringSource> installed_;
    QString outFile_;
};

} // namespace uriage::probe
