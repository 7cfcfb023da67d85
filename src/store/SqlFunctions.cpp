#include "store/SqlFunctions.h"

#include <sqlite3.h>

#include <QLocale>
#include <iterator>

#include "core/ProgramLocale.h"

namespace store {
namespace {

// The program's locale is Greek whatever the machine's, so its decimal point
// (the comma) is taken once: every amount a search shows passes here.
char16_t DecimalPoint() {
    static const char16_t point = ProgramLocale().decimalPoint().front().unicode();
    return point;
}

// Writes the amount backwards, ending at `end`, and returns where it starts:
// this runs for every amount a search shows, and QString::arg would cost more
// than the rest of the row.
template <typename Char>
Char* WriteCents(qint64 cents, Char* end) {
    // Negated as unsigned, so that the most negative amount has a magnitude.
    quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    Char* start = end;
    for (int place = 0; place < 3 || magnitude != 0; ++place) {
        if (place == 2) {
            *--start = Char(DecimalPoint());
        }
        *--start = Char('0' + magnitude % 10);
        magnitude /= 10;
    }
    if (cents < 0) {
        *--start = Char('-');
    }
    return start;
}

// Amounts are whole cents; a value of any other kind in an amount column is
// refused rather than rounded, so that a printed sum is never approximate.
void CentsTextFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    sqlite3_value* cents = arguments[0];
    switch (sqlite3_value_type(cents)) {
        case SQLITE_NULL:
            sqlite3_result_null(context);
            return;
        case SQLITE_INTEGER: {
            // The comma is one byte in UTF-8, as every digit.
            char text[24];
            const char* start = WriteCents(sqlite3_value_int64(cents), std::end(text));
            sqlite3_result_text(context, start, int(std::end(text) - start), SQLITE_TRANSIENT);
            return;
        }
        default:
            sqlite3_result_error(context, "CENTS_TEXT: an amount is not a whole number of cents",
                                 -1);
    }
}

}  // namespace

QString CentsText(qint64 cents) {
    char16_t digits[24];
    const char16_t* start = WriteCents(cents, std::end(digits));
    return QString::fromUtf16(start, std::end(digits) - start);
}

void RegisterSqlFunctions(sqlite3* db) {
    Q_ASSERT_X(DecimalPoint() < 0x80, "CENTS_TEXT", "the decimal point must be one byte in UTF-8");
    sqlite3_create_function(db, "CENTS_TEXT", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            CentsTextFunction, nullptr, nullptr);
}

}  // namespace store
