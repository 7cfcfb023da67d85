#include "calendar/DateLiteral.h"

#include <QDate>
#include <QRegularExpression>

#include "core/AppGlobals.h"
#include "store/DatabaseError.h"

namespace {

constexpr int kMaxDayOrMonthDigits = 2;
constexpr int kMaxYearDigits = 4;
constexpr int kWindowedYearDigits = 2;

// Reads a date text field by field; blanks around fields and separators
// are skipped wherever they stand.
class DateTextScanner {
public:
    explicit DateTextScanner(const QString& text) : text_(text) {}

    // A run of ASCII digits, at most maxDigits long.
    bool number(int maxDigits, int* value, int* digits) {
        skipBlanks();
        *value = 0;
        *digits = 0;
        while (pos_ < text_.size() && IsAsciiDigit(text_.at(pos_))) {
            if (++*digits > maxDigits) {
                return false;
            }
            *value = *value * 10 + (text_.at(pos_).unicode() - '0');
            ++pos_;
        }
        return *digits > 0;
    }

    bool take(QChar separator) {
        skipBlanks();
        if (pos_ < text_.size() && text_.at(pos_) == separator) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool atEnd() {
        skipBlanks();
        return pos_ == text_.size();
    }

private:
    static bool IsAsciiDigit(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); }

    void skipBlanks() {
        while (pos_ < text_.size() && text_.at(pos_) == QLatin1Char(' ')) {
            ++pos_;
        }
    }

    const QString& text_;
    int pos_ = 0;
};

// Puts a one- or two-digit year into the 100 years that start 50 years
// before the current year.
int WindowedYear(int shortYear, int currentYear) {
    const int windowStart = currentYear - 50;
    int year = windowStart - windowStart % 100 + shortYear;
    if (year < windowStart) {
        year += 100;
    }
    return year;
}

}  // namespace

QString SqlDateLiteral(const QString& dayText, int currentYear) {
    const QChar slash = QLatin1Char('/');
    DateTextScanner in(dayText);
    int day = 0;
    int month = 0;
    int year = currentYear;
    int digits = 0;
    if (!in.number(kMaxDayOrMonthDigits, &day, &digits) || !in.take(slash) ||
        !in.number(kMaxDayOrMonthDigits, &month, &digits)) {
        return kDateLiteralError;
    }
    if (in.take(slash)) {
        if (!in.number(kMaxYearDigits, &year, &digits)) {
            return kDateLiteralError;
        }
        if (digits <= kWindowedYearDigits) {
            year = WindowedYear(year, currentYear);
        }
        in.take(slash);
    }
    if (!in.atEnd() || !QDate::isValid(year, month, day)) {
        return kDateLiteralError;
    }
    return QStringLiteral("#%1/%2/%3#").arg(month).arg(day).arg(year);
}

void ToSqlDateLiteral(QString& text) {
    text = SqlDateLiteral(text, LocalNow().date().year());
}

QString DayText(int day, int month, int year) {
    return QStringLiteral("%1/%2/%3").arg(day).arg(month).arg(year);
}

QString IsoDateParameter(const QString& literal) {
    static const QRegularExpression form(QStringLiteral("^#(\\d{1,2})/(\\d{1,2})/(\\d{1,4})#$"));
    const QRegularExpressionMatch match = form.match(literal);
    const QDate date =
        match.hasMatch()
            ? QDate(match.captured(3).toInt(), match.captured(1).toInt(), match.captured(2).toInt())
            : QDate();
    if (!date.isValid()) {
        throw store::DatabaseError(
            QStringLiteral("Syntax error in date in query expression '%1'.").arg(literal));
    }
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}
