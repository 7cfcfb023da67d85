#include "calendar/MonthMath.h"

bool IsLeapYear(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonthOf(int month, bool leapYear) {
    switch (month) {
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2:
            return leapYear ? 29 : 28;
        default:
            return 31;
    }
}

int FirstWeekdaySum(int year, int month) {
    int m = month;
    int y = year;
    if (m <= 2) {
        m += 12;
        y -= 1;
    }
    // 3(m + 1) div 5 equals the truncated (m + 1) * 0.6 for m = 3..14.
    return 1 + 2 * m + 3 * (m + 1) / 5 + y + y / 4 - y / 100 + y / 400;
}

int WeekdayOfSum(int sum) {
    return sum % 7 + 1;
}
