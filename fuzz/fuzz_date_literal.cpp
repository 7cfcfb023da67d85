// The day/month/year text of the expenses search and the calendar, turned
// into an SQL date literal. Checked against a reading of the same grammar
// written apart from the parser: a literal is either refused as "ERROR" or
// names exactly the valid date typed, and a refused one never reaches a
// statement.
#include <QDate>
#include <QVector>
#include <optional>

#include "FuzzSupport.h"
#include "calendar/DateLiteral.h"
#include "core/AppGlobals.h"
#include "store/DatabaseError.h"

namespace {

struct DateToken {
    bool slash = false;
    int value = 0;  // a number's value
    int digits = 0;
};

// Numbers of ASCII digits and "/" separators, blanks anywhere between them;
// anything else, or a number longer than any field, refuses the text.
std::optional<QVector<DateToken>> Tokens(const QString& text) {
    constexpr qsizetype kLongestField = 4;
    QVector<DateToken> tokens;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar ch = text.at(i);
        if (ch == QLatin1Char(' ')) {
            ++i;
        } else if (ch == QLatin1Char('/')) {
            tokens.append({true, 0, 0});
            ++i;
        } else if (IsAsciiDigit(ch)) {
            qsizetype end = i;
            while (end < text.size() && IsAsciiDigit(text.at(end))) {
                ++end;
            }
            if (end - i > kLongestField) {
                return std::nullopt;
            }
            tokens.append({false, text.mid(i, end - i).toInt(), int(end - i)});
            i = end;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

// The date the text names, or an invalid date when it must be refused.
QDate ExpectedDate(const QString& text, int currentYear) {
    const auto tokens = Tokens(text);
    if (!tokens) {
        return {};
    }
    const QVector<DateToken>& t = *tokens;
    const auto number = [&t](int i) { return i < t.size() && !t[i].slash; };
    const auto slash = [&t](int i) { return i < t.size() && t[i].slash; };
    const bool dayMonth = number(0) && slash(1) && number(2);
    const bool yearFollows = slash(3) && number(4);
    const bool shape = dayMonth && (t.size() == 3 || (yearFollows && t.size() == 5) ||
                                    (yearFollows && t.size() == 6 && slash(5)));
    if (!shape || t[0].digits > 2 || t[2].digits > 2) {
        return {};
    }
    int year = currentYear;
    if (t.size() > 3) {
        year = t[4].value;
        if (t[4].digits <= 2) {
            // The one year of currentYear-50 .. currentYear+49 with these
            // last two digits.
            year = currentYear - 50;
            while (year % 100 != t[4].value) {
                ++year;
            }
        }
    }
    return QDate(year, t[2].value, t[0].value);
}

void CheckLiteral(const QString& typed, const QString& literal, int currentYear) {
    const QDate expected = ExpectedDate(typed, currentYear);
    if (!expected.isValid()) {
        Require(literal == kDateLiteralError, "a text that is not a date is refused", typed,
                literal);
        return;
    }
    const QString wanted =
        QStringLiteral("#%1/%2/%3#").arg(expected.month()).arg(expected.day()).arg(expected.year());
    Require(literal == wanted, "a date is read as typed", typed, literal + " != " + wanted);
    Require(IsoDateParameter(literal) == expected.toString(Qt::ISODate),
            "a literal becomes the ISO parameter of its date", typed, literal);
    if (expected.year() >= 100) {
        Require(SqlDateLiteral(DayText(expected.day(), expected.month(), expected.year()),
                               currentYear) == literal,
                "the calendar's day text reads back as the same date", typed, literal);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    bool refused = false;
    try {
        IsoDateParameter(kDateLiteralError);
    } catch (const store::DatabaseError&) {
        refused = true;
    }
    Require(refused, "a refused date never becomes a parameter", kDateLiteralError);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString typed = FuzzText(data, size);
    try {
        QString literal = typed;
        ToSqlDateLiteral(literal);
        CheckLiteral(typed, literal, LocalNow().date().year());
        // The edges of the two-digit year window, with the current year pinned.
        for (const int currentYear : {1950, 2000, 2049, 2050, 2099}) {
            CheckLiteral(typed, SqlDateLiteral(typed, currentYear), currentYear);
        }
    } catch (...) {
        Require(false, "the conversion never throws", typed);
    }
    return 0;
}
