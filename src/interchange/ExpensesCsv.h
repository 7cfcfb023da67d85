#pragma once

#include <QByteArray>
#include <QVector>

#include "interchange/InterchangeRecords.h"

// The expenses as a spreadsheet reads them (RFC 4180 with the Greek
// conventions): "date;amount;vat;description", dates dd/MM/yyyy, amounts
// with the decimal comma, UTF-8 with a byte-order mark, CRLF line ends.
namespace interchange {

inline constexpr char kExpensesCsvHeader[] = "date;amount;vat;description";

// The whole file: the byte-order mark, the header line, one line per expense.
QByteArray WriteExpensesCsv(const QVector<Expense>& expenses);

// Every expense of the file. The header line is optional; an empty line is
// left out and noted in outcome. Throws InterchangeError naming the first
// malformed line, so that a caller imports all of a file or nothing.
QVector<Expense> ReadExpensesCsv(const QByteArray& file, Outcome& outcome);

// 1250 gives "12,50", -5 gives "-0,05".
QString CsvAmount(qint64 cents);

}  // namespace interchange
