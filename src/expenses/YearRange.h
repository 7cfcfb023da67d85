#pragma once

#include <QString>
#include <QVariantList>

// The year a typed text stands for: a whole number of ASCII decimal digits,
// leading zeros allowed ("07" is the year 7), of at most four significant
// digits, since stored dates carry four-digit years. Throws
// store::DatabaseError for anything else.
int YearOfText(const QString& text);

// The first day of the year fromText and the last day of the year toText as
// ISO dates, so that a range of years is asked as the range of its days and
// the index on the date serves it. Throws as YearOfText does.
QVariantList YearRangeDays(const QString& fromText, const QString& toText);
