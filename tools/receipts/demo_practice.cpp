#include "demo_practice.h"

#include <QDate>
#include <cmath>
#include <random>

namespace receipts {
namespace {

bool closedDay(const QDate& d, std::mt19937_64& random)
{
    if (d.dayOfWeek() == Qt::Sunday)
        return true;
    const int m = d.month(), day = d.day();
    if ((m == 1 && day <= 3) || (m == 12 && day >= 29) || (m == 8 && day >= 13 && day <= 15))
        return true;
    return std::uniform_int_distribution<int>(0, 99)(random) < 1;   // a few other days
}

double roundToTen(double yen) { return std::round(yen / 10.0) * 10.0; }

} // namespace

void generateDemo(const DemoOptions& options, const std::function<void(const Receipt&)>& deliver)
{
    std::mt19937_64 random(options.seed);
    std::uniform_int_distribution<int> perDay(20, 80);
    std::uniform_int_distribution<int> fee(150, 600);        // tens of yen
    std::discrete_distribution<int> share({70, 10, 20});     // 30 %, 20 %, 10 %
    std::uniform_int_distribution<int> extra(0, 99);
    std::uniform_int_distribution<int> extraFee(5, 30);      // hundreds of yen
    const double shares[] = {0.3, 0.2, 0.1};

    long long written = 0;
    const QDate end(options.toYear, 12, 31);
    for (QDate d(options.fromYear, 1, 1);; d = d.addDays(1)) {
        if (options.count > 0 ? written >= options.count : d > end)
            break;
        if (closedDay(d, random))
            continue;
        const QString date = d.toString(QStringLiteral("yyyy-MM-dd"));
        for (int n = perDay(random); n > 0; --n) {
            if (options.count > 0 && written >= options.count)
                break;
            Receipt r;
            r.treatmentDate = date;
            r.year = d.year();
            r.month = d.month();
            r.day = d.day();
            const double insured = fee(random) * 10.0;
            const double copay = roundToTen(insured * shares[share(random)]);
            const double uninsured = extra(random) < 15 ? extraFee(random) * 100.0 : 0.0;
            r.insuranceTotal = insured;
            r.copayment = copay;
            r.uninsured = uninsured;
            r.total = copay + uninsured;
            deliver(r);
            ++written;
        }
    }
}

} // namespace receipts
