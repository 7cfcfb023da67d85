// The years of the expenses per month. A year is refused with the
// documented error or read as exactly the number typed, and the range of its
// days runs from 1 January to 31 December of four-digit years.
#include <algorithm>

#include "FuzzSupport.h"
#include "expenses/YearRange.h"
#include "store/DatabaseError.h"

namespace {

// Digits only, at most four after the leading zeros: the year; -1 otherwise.
int ExpectedYear(const QString& text) {
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), IsAsciiDigit)) {
        return -1;
    }
    QString significant = text;
    while (significant.size() > 1 && significant.front() == QLatin1Char('0')) {
        significant.remove(0, 1);
    }
    return significant.size() <= 4 ? significant.toInt() : -1;
}

int CheckYear(const QString& text) {
    const int expected = ExpectedYear(text);
    try {
        const int year = YearOfText(text);
        Require(year == expected, "a year is read as the number typed", text,
                QString::number(year));
        return year;
    } catch (const store::DatabaseError&) {
        Require(expected < 0, "a year is refused only when it is no year", text);
        return -1;
    } catch (...) {
        Require(false, "only the documented error is thrown", text);
        return -1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The from year and the to year, on two lines.
    const QString typed = FuzzText(data, size);
    const qsizetype lineBreak = typed.indexOf(QLatin1Char('\n'));
    const QString from = lineBreak < 0 ? typed : typed.left(lineBreak);
    const QString to = lineBreak < 0 ? typed : typed.mid(lineBreak + 1);
    const int fromYear = CheckYear(from);
    const int toYear = CheckYear(to);
    try {
        const QVariantList days = YearRangeDays(from, to);
        Require(fromYear >= 0 && toYear >= 0, "a range is made of two years", typed);
        const QString first = QStringLiteral("%1-01-01").arg(fromYear, 4, 10, QLatin1Char('0'));
        const QString last = QStringLiteral("%1-12-31").arg(toYear, 4, 10, QLatin1Char('0'));
        Require(days.size() == 2 && days[0].toString() == first && days[1].toString() == last,
                "the range runs from 1 January to 31 December", typed,
                days.value(0).toString() + " " + days.value(1).toString());
    } catch (const store::DatabaseError&) {
        Require(fromYear < 0 || toYear < 0, "a range is refused only for a year that is none",
                typed);
    } catch (...) {
        Require(false, "only the documented error is thrown", typed);
    }
    return 0;
}
