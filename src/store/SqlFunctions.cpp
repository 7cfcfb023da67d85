#include "store/SqlFunctions.h"

#include <sqlite3.h>

#include <QLocale>

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
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    return QStringLiteral("%1%2%3%4")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(QLocale().decimalPoint())
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

void RegisterSqlFunctions(sqlite3* db) {
    sqlite3_create_function(db, "CENTS_TEXT", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            CentsTextFunction, nullptr, nullptr);
}

}  // namespace store
