#include "store/SqlFunctions.h"

#include <sqlite3.h>

#include <QLocale>
#include <iterator>

namespace store {
namespace {

// Amounts are whole cents; a value of any other kind in an amount column is
// refused rather than rounded, so that a printed sum is never approximate.
void CentsTextFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    sqlite3_value* cents = arguments[0];
    switch (sqlite3_value_type(cents)) {
        case SQLITE_NULL:
            sqlite3_result_null(context);
            return;
        case SQLITE_INTEGER: {
            const QByteArray text = CentsText(sqlite3_value_int64(cents)).toUtf8();
            sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            return;
        }
        default:
            sqlite3_result_error(context, "CENTS_TEXT: an amount is not a whole number of cents",
                                 -1);
    }
}

}  // namespace

QString CentsText(qint64 cents) {
    // Negated as unsigned, so that the most negative amount has a magnitude.
    quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    // Written backwards into a buffer: this runs for every amount a search
    // shows, and QString::arg would cost more than the rest of the row.
    char16_t digits[24];
    char16_t* start = std::end(digits);
    for (int place = 0; place < 3 || magnitude != 0; ++place) {
        if (place == 2) {
            *--start = QLocale().decimalPoint().front().unicode();
        }
        *--start = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    }
    if (cents < 0) {
        *--start = u'-';
    }
    return QString::fromUtf16(start, std::end(digits) - start);
}

void RegisterSqlFunctions(sqlite3* db) {
    sqlite3_create_function(db, "CENTS_TEXT", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            CentsTextFunction, nullptr, nullptr);
}

}  // namespace store
