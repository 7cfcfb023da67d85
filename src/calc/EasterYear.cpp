#include "calc/EasterYear.h"

#include <QCalendar>

QDate OrthodoxEaster(int year) {
    // Gauss's rule in the Julian calendar: the Easter full moon falls d days
    // after 21 March, and Easter is the Sunday after it, 22 March + d + e.
    const int a = year % 19;
    const int b = year % 4;
    const int c = year % 7;
    const int d = (19 * a + 15) % 30;
    const int e = (2 * b + 4 * c + 6 * d + 6) % 7;
    const QDate julianMarch22(year, 3, 22, QCalendar(QCalendar::System::Julian));
    return julianMarch22.addDays(d + e);
}

QString EasterText(int year) {
    if (year < kFirstEasterYear || year > kLastEasterYear) {
        return QString();
    }
    const QDate easter = OrthodoxEaster(year);
    const QString month =
        easter.month() == 4 ? QStringLiteral(" Απριλίου") : QStringLiteral(" Μαϊου");
    return QStringLiteral("είναι ") + QString::number(easter.day()) + month;
}

int EasterYearOfText(const QString& typed) {
    bool whole = false;
    const int year = typed.toInt(&whole);
    return whole ? year : kFirstEasterYear;
}
