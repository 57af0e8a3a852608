#include "common/regional_settings.h"

#include <QLocale>
#include <optional>

namespace uriage {
namespace {

std::optional<RegionalSettings>& injected()
{
    static std::optional<RegionalSettings> settings;
    return settings;
}

RegionalSettings fromLocale(const QLocale& locale)
{
    RegionalSettings s;
    s.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    s.shortTimeFormat = locale.timeFormat(QLocale::ShortFormat);
    const QString group = locale.groupSeparator();
    const QString decimal = locale.decimalPoint();
    s.thousandsSeparator = group.isEmpty() ? QChar(',') : group.at(0);
    s.decimalSeparator = decimal.isEmpty() ? QChar('.') : decimal.at(0);
    return s;
}

} // namespace

RegionalSettings RegionalSettings::current()
{
    if (injected())
        return *injected();
    return fromLocale(QLocale::system());
}

void RegionalSettings::inject(const RegionalSettings& settings) { injected() = settings; }

void RegionalSettings::reset() { injected().reset(); }

RegionalSettings RegionalSettings::japanese()
{
    return fromLocale(QLocale(QLocale::Japanese, QLocale::Japan));
}

} // namespace uriage
