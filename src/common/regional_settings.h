#pragma once
// The system's regional settings, read from one place. Tests inject their own.
#include <QChar>
#include <QString>

namespace uriage {

struct RegionalSettings {
    QString shortDateFormat;   // QLocale pattern, e.g. "yyyy/MM/dd"
    QString shortTimeFormat;   // QLocale pattern, e.g. "H:mm"
    QChar thousandsSeparator;  // e.g. ','
    QChar decimalSeparator;    // e.g. '.'

    // The settings in force: the injected ones if any, else the system locale's.
    static RegionalSettings current();
    // Replaces the settings in force until reset (tests only).
    static void inject(const RegionalSettings& settings);
    static void reset();
    // Settings of a Japanese system.
    static RegionalSettings japanese();
};

} // namespace uriage
