// The year typed into the calendar calculations for its Easter. The year
// field accepts a text only as a year of the range; a text left in it is
// brought to such a year; the Easter shown for a year is its Orthodox Easter
// Sunday, in April or May, and nothing outside the range.
#include <algorithm>

#include "FuzzSupport.h"
#include "calc/EasterYear.h"
#include "calc/YearSpinBox.h"

namespace {

const QString kGreekDecimalPoint = QStringLiteral(",");

QValidator::State StateOf(const QString& text) {
    return TypedYearState(text, kGreekDecimalPoint, kFirstEasterYear, kLastEasterYear);
}

void CheckEasterShown(const QString& typed) {
    const int year = EasterYearOfText(typed);
    const QString shown = EasterText(year);
    const bool inRange = year >= kFirstEasterYear && year <= kLastEasterYear;
    Require(shown.isEmpty() != inRange, "an Easter is shown for the years of the range only", typed,
            shown);
    if (!inRange) {
        return;
    }
    const QDate easter = OrthodoxEaster(year);
    Require(easter.isValid() && easter.year() == year && easter.dayOfWeek() == Qt::Sunday &&
                (easter.month() == 4 || easter.month() == 5),
            "Easter is a Sunday of April or May of its year", typed, easter.toString(Qt::ISODate));
    const QString month =
        easter.month() == 4 ? QStringLiteral("Απριλίου") : QStringLiteral("Μαϊου");
    Require(shown == QStringLiteral("είναι %1 %2").arg(easter.day()).arg(month),
            "the Easter shown is the day computed", typed, shown);
}

void CheckYearField(const QString& typed) {
    const QValidator::State state = StateOf(typed);
    const bool typeable = std::all_of(typed.begin(), typed.end(), [](QChar ch) {
        return ch.isDigit() || ch == u'+' || ch == u'-' || ch == u',';
    });
    Require((state == QValidator::Invalid) == !typeable,
            "only digits, signs and the decimal comma can be typed", typed);
    bool whole = false;
    const int year = typed.toInt(&whole);
    if (state == QValidator::Acceptable) {
        Require(whole && year >= kFirstEasterYear && year <= kLastEasterYear &&
                    EasterYearOfText(typed) == year,
                "an accepted text is a year of the range and shows its Easter", typed);
    }
    const QString fixed = FixedUpYearText(typed, kFirstEasterYear, kLastEasterYear);
    Require(StateOf(fixed) == QValidator::Acceptable, "a text left in the field becomes a year",
            typed, fixed);
    if (state == QValidator::Acceptable) {
        Require(fixed.toInt() == year, "an accepted year stays when the field is left", typed,
                fixed);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString typed = FuzzText(data, size);
    CheckEasterShown(typed);
    CheckYearField(typed);
    return 0;
}
