#pragma once

// Whole-number calendar arithmetic of the month grid.

// Gregorian rule: divisible by 4 and not by 100, or divisible by 400.
bool IsLeapYear(unsigned year);

// 28..31.
int DaysInMonthOf(int month, bool leapYear);

// The weekday sum of the 1st of a month, January and February counting as
// months 13 and 14 of the previous year.
int FirstWeekdaySum(int year, int month);

// 1 = Monday .. 7 = Sunday, from the weekday sum.
int WeekdayOfSum(int sum);

// The day cell (1..37) of a day, Monday-first rows of seven.
inline int CellOfDay(int day, int firstWeekday) {
    return firstWeekday + day - 1;
}
