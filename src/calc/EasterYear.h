#pragma once

#include <QDate>
#include <QString>

// The years whose Easter the calculations window shows.
inline constexpr int kFirstEasterYear = 1583;
inline constexpr int kLastEasterYear = 2100;

// The Orthodox Easter Sunday of a year, as a date of the Gregorian calendar.
// Computed in the Julian calendar, where the Orthodox churches reckon it, and
// converted with the calendar difference of that year's century, so that it
// is right for every year of the Gregorian calendar, not only for 1900..2099.
QDate OrthodoxEaster(int year);

// "είναι 5 Μαϊου" for a year of kFirstEasterYear..kLastEasterYear; empty
// outside that range.
QString EasterText(int year);

// While the user types, the year is the text as typed; a text that is not a
// whole number reads as the first year of the range.
int EasterYearOfText(const QString& typed);
