#include "json/text_metrics.h"

#include "common/failure.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cmath>
#include <tuple>

namespace uriage::probe {

namespace {

QJsonObject fontKeyJson(const FontKey& key)
{
    return QJsonObject{{"family", key.family}, {"pixelSize", key.pixelSize}, {"weight", key.weight},
                       {"italic", key.italic}};
}

QJsonObject fontMeasuresJson(const FontKey& key, const FontMeasures& measures)
{
    QJsonObject widths;
    for (const auto& [text, width] : measures.widths)
        widths.insert(text, width);
    QJsonObject entry{{"font", fontKeyJson(key)}, {"widths", widths}};
    if (measures.lineHeight)
        entry.insert("lineHeight", *measures.lineHeight);
    return entry;
}

// Reads entries of one file, each problem named with the file and the field.
class Reader {
public:
    explicit Reader(QString where) : where_(std::move(where)) {}

    [[noreturn]] void fail(const QString& field, const QString& problem) const
    {
        throw Failure(QStringLiteral("%1: %2 %3").arg(where_, field, problem));
    }

    // A whole number of pixels, 0 or more (or any whole number where negative is allowed).
    int number(const QJsonValue& value, const QString& field, bool negativeAllowed = false) const
    {
        const double d = value.toDouble(-1.5);
        if (!value.isDouble() || d != std::floor(d) || std::abs(d) > 1e6 || (!negativeAllowed && d < 0))
            fail(field, QStringLiteral("is not a whole number of pixels"));
        return int(d);
    }

    FontKey fontKey(const QJsonValue& value, const QString& field) const
    {
        const QJsonObject font = value.toObject();
        if (!value.isObject() || !font.value("family").isString() || !font.value("italic").isBool())
            fail(field, QStringLiteral("needs family, pixelSize, weight and italic"));
        return {font.value("family").toString(), number(font.value("pixelSize"), field + ".pixelSize", true),
                number(font.value("weight"), field + ".weight"), font.value("italic").toBool()};
    }

    FontMeasures fontMeasures(const QJsonObject& entry, const QString& field) const
    {
        FontMeasures measures;
        if (entry.contains("lineHeight"))
            measures.lineHeight = number(entry.value("lineHeight"), field + ".lineHeight");
        if (!entry.value("widths").isObject())
            fail(field + ".widths", QStringLiteral("is not an object of texts and widths"));
        const QJsonObject widths = entry.value("widths").toObject();
        for (auto it = widths.begin(); it != widths.end(); ++it)
            measures.widths[it.key()] =
                number(it.value(), QStringLiteral("%1.widths[\"%2\"]").arg(field, it.key()));
        return measures;
    }

private:
    QString where_;
};

} // namespace

FontKey FontKey::of(const QFont& font)
{
    return {font.family(), font.pixelSize(), int(font.weight()), font.italic()};
}

QString FontKey::describe() const
{
    return QStringLiteral("\"%1\" %2 px, weight %3, %4")
        .arg(family)
        .arg(pixelSize)
        .arg(weight)
        .arg(italic ? QStringLiteral("italic") : QStringLiteral("upright"));
}

bool operator<(const FontKey& a, const FontKey& b)
{
    return std::tie(a.family, a.pixelSize, a.weight, a.italic) < std::tie(b.family, b.pixelSize, b.weight, b.italic);
}

QByteArray textMetricsJson(const TextMetrics& metrics)
{
    QJsonArray fonts;
    for (const auto& [key, measures] : metrics)
        fonts.append(fontMeasuresJson(key, measures));
    return QJsonDocument(QJsonObject{{"fonts", fonts}}).toJson(QJsonDocument::Indented);
}

TextMetrics parseTextMetrics(const QByteArray& json, const QString& where)
{
    const Reader reader(where);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        reader.fail(QStringLiteral("offset %1:").arg(error.offset), error.errorString());
    if (!document.object().value("fonts").isArray())
        reader.fail(QStringLiteral("fonts"), QStringLiteral("is missing: not a text-metrics file"));
    TextMetrics metrics;
    const QJsonArray fonts = document.object().value("fonts").toArray();
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        const QString field = QStringLiteral("fonts[%1]").arg(i);
        const QJsonObject entry = fonts[i].toObject();
        const FontKey key = reader.fontKey(entry.value("font"), field + ".font");
        if (metrics.count(key))
            reader.fail(field, QStringLiteral("repeats the font %1").arg(key.describe()));
        metrics[key] = reader.fontMeasures(entry, field);
    }
    return metrics;
}

void writeTextMetricsFile(const QString& path, const TextMetrics& metrics)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(textMetricsJson(metrics)) < 0 || !file.commit())
        throw Failure(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

TextMetrics readTextMetricsFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return parseTextMetrics(file.readAll(), path);
}

} // namespace uriage::probe
