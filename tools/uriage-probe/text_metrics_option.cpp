#include "text_metrics_option.h"

namespace uriage::probe {

TextMetricsOption::TextMetricsOption(const QString& inFile, const QString& outFile) : outFile_(outFile)
{
    if (!inFile.isEmpty()) {
        replayed_.emplace(readTextMetricsFile(inFile), inFile);
        installed_.emplace(*replayed_);
    } else if (!outFile.isEmpty()) {
        recording_.emplace(fonts_);
        installed_.emplace(*recording_);
    }
}

void TextMetricsOption::finish() const
{
    if (replayed_)
        replayed_->checkComplete();
    if (recording_)
        writeTextMetricsFile(outFile_, recording_->recorded());
}

} // namespace uriage::probe
