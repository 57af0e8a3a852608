#include "json/text_metrics_sources.h"

#include "common/failure.h"

#include <optional>

namespace uriage::probe {

namespace {

class RecordingMeasurer final : public chart::TextMeasurer {
public:
    RecordingMeasurer(std::unique_ptr<chart::TextMeasurer> measured, FontMeasures& record)
        : measured_(std::move(measured)), record_(record)
    {
        record_.lineHeight = measured_->lineHeight();
    }

    int width(const QString& text) const override
    {
        const int width = measured_->width(text);
        record_.widths[text] = width;
        return width;
    }

    int lineHeight() const override { return *record_.lineHeight; }

private:
    std::unique_ptr<chart::TextMeasurer> measured_;
    FontMeasures& record_;
};

class ReplayedMeasurer final : public chart::TextMeasurer {
public:
    ReplayedMeasurer(const QFont& font, const FontMeasures* record, QStringList& missing)
        : font_(font), key_(FontKey::of(font)), record_(record), missing_(missing)
    {
        if (!record_)
            note(QStringLiteral("no font %1").arg(key_.describe()));
    }

    int width(const QString& text) const override
    {
        if (record_) {
            const auto found = record_->widths.find(text);
            if (found != record_->widths.end())
                return found->second;
            note(QStringLiteral("no width of \"%1\" in the font %2").arg(text, key_.describe()));
        }
        return fontMeasurer().width(text);
    }

    int lineHeight() const override
    {
        if (record_ && record_->lineHeight)
            return *record_->lineHeight;
        if (record_)
            note(QStringLiteral("no line height of the font %1").arg(key_.describe()));
        return fontMeasurer().lineHeight();
    }

private:
    void note(const QString& problem) const
    {
        if (!missing_.contains(problem))
            missing_.append(problem);
    }

    // Measures what the record lacks, so that the chart can be finished.
    const chart::TextMeasurer& fontMeasurer() const
    {
        if (!fallback_)
            fallback_.emplace(font_);
        return *fallback_;
    }

    QFont font_;
    FontKey key_;
    const FontMeasures* record_;
    QStringList& missing_;
    mutable std::optional<chart::FontTextMeasurer> fallback_;
};

} // namespace

std::unique_ptr<chart::TextMeasurer> RecordingMeasuringSource::measurerFor(const QFont& font) const
{
    return std::make_unique<RecordingMeasurer>(measured_.measurerFor(font), recorded_[FontKey::of(font)]);
}

ReplayedMeasuringSource::ReplayedMeasuringSource(TextMetrics metrics, QString where)
    : metrics_(std::move(metrics)), where_(std::move(where))
{
}

std::unique_ptr<chart::TextMeasurer> ReplayedMeasuringSource::measurerFor(const QFont& font) const
{
    const auto found = metrics_.find(FontKey::of(font));
    return std::make_unique<ReplayedMeasurer>(font, found == metrics_.end() ? nullptr : &found->second, missing_);
}

void ReplayedMeasuringSource::checkComplete() const
{
    if (missing_.isEmpty())
        return;
    QString message = QStringLiteral("%1: %2").arg(where_, missing_.first());
    if (missing_.size() > 1)
        message += QStringLiteral(" (and %1 more missing)").arg(missing_.size() - 1);
    throw Failure(message);
}

} // namespace uriage::probe
