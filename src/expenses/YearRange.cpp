#include "expenses/YearRange.h"

#include <algorithm>

#include "store/DatabaseError.h"

namespace {

constexpr int kMaxYearDigits = 4;

QString IsoDay(int year, const char* monthAndDay) {
    return QStringLiteral("%1-%2")
        .arg(year, kMaxYearDigits, 10, QLatin1Char('0'))
        .arg(QLatin1String(monthAndDay));
}

}  // namespace

int YearOfText(const QString& text) {
    const bool digitsOnly = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    qsizetype firstSignificant = 0;
    while (firstSignificant < text.size() - 1 && text.at(firstSignificant) == QLatin1Char('0')) {
        ++firstSignificant;
    }
    if (!digitsOnly || text.size() - firstSignificant > kMaxYearDigits) {
        throw store::DatabaseError(QStringLiteral("'%1' is not a year.").arg(text));
    }
    return text.mid(firstSignificant).toInt();
}

QVariantList YearRangeDays(const QString& fromText, const QString& toText) {
    return {IsoDay(YearOfText(fromText), "01-01"), IsoDay(YearOfText(toText), "12-31")};
}
