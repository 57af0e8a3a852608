#include "data/field_text.h"

#include <QDate>

namespace uriage::data {

double valueAsFloat(const Value& value)
{
    if (const auto* i = std::get_if<int64_t>(&value))
        return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&value))
        return *d;
    if (const auto* date = std::get_if<DateValue>(&value))
        return date->dayNumber;
    if (const auto* text = std::get_if<QString>(&value)) {
        bool ok = false;
        const double v = text->toDouble(&ok);
        return ok ? v : 0.0;
    }
    return 0.0;
}

QString valueDisplayText(const Value& value, FieldType, const RegionalSettings& settings)
{
    if (const auto* i = std::get_if<int64_t>(&value))
        return QString::number(*i);
    if (const auto* d = std::get_if<double>(&value)) {
        QString text = QString::number(*d, 'g', 15);
        if (settings.decimalSeparator != QChar('.'))
            text.replace(QChar('.'), settings.decimalSeparator);
        return text;
    }
    if (const auto* date = std::get_if<DateValue>(&value))
        return QDate(1899, 12, 30).addDays(date->dayNumber).toString(settings.shortDateFormat);
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    return {};
}

} // namespace uriage::data
