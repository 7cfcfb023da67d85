#pragma once

#include <QString>
#include <QtGlobal>

struct sqlite3;

namespace store {

// An amount of whole cents as text with exactly two decimals and the
// locale's decimal separator: 1250 gives "12,50", -5 gives "-0,05".
QString CentsText(qint64 cents);

// Registers the program's own SQL functions on a handle; every handle a
// connection opens gets them, so statements may use them freely:
//   CENTS_TEXT(cents)  CentsText of a whole number of cents; NULL stays NULL
void RegisterSqlFunctions(sqlite3* db);

}  // namespace store
