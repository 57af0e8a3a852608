#pragma once
// The chart's text measures as a file: for every font as the chart requested
// it (family, pixel size, weight, italic), its line height and the width of
// every text measured in it.
//   {"fonts": [{"font": {"family", "pixelSize", "weight", "italic"},
//               "lineHeight": N, "widths": {"text": N, ...}}, ...]}
#include <QByteArray>
#include <QFont>
#include <QString>
#include <map>
#include <optional>

namespace uriage::probe {

struct FontKey {
    QString family;
    int pixelSize = 0;
    int weight = 0;
    bool italic = false;

    static FontKey of(const QFont& font);
    // As messages name it: "ＭＳ Ｐ明朝" 12 px, weight 700, upright.
    QString describe() const;
    friend bool operator<(const FontKey& a, const FontKey& b);
};

struct FontMeasures {
    std::optional<int> lineHeight;
    std::map<QString, int> widths;
};

using TextMetrics = std::map<FontKey, FontMeasures>;

QByteArray textMetricsJson(const TextMetrics& metrics);

// Reads a text-metrics file's contents; throws a Failure naming what is
// wrong (where names the file in the message).
TextMetrics parseTextMetrics(const QByteArray& json, const QString& where);

// Writes or reads the file; throws a Failure naming the file when it cannot.
void writeTextMetricsFile(const QString& path, const TextMetrics& metrics);
TextMetrics readTextMetricsFile(const QString& path);

} // namespace uriage::probe
