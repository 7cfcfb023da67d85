#pragma once

#include <QString>

// The text a conversion gives for a date text that is not a valid date.
inline const QString kDateLiteralError = QStringLiteral("ERROR");

// Replaces a day/month/year text with its SQL date literal "#M/D/Y#", or
// with "ERROR" when it is not a valid date. Blanks may surround every number
// and separator; a missing year is the current year; a year of one or two
// digits falls in the 100 years starting 50 years before the current year;
// one "/" may follow the year. Never fails.
void ToSqlDateLiteral(QString& text);

// The same conversion with the current year given, so that it can be pinned.
QString SqlDateLiteral(const QString& dayText, int currentYear);

// The day text the calendar builds: "5/3/2008", without leading zeros.
QString DayText(int day, int month, int year);

// Statements receive a date as a bound ISO parameter "YYYY-MM-DD"; this
// turns a literal from ToSqlDateLiteral into it. "ERROR" or anything else
// that is not a literal throws store::DatabaseError, as the engine would
// refuse the statement.
QString IsoDateParameter(const QString& literal);
