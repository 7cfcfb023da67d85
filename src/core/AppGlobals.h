#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The application-wide values of one run. They are touched only from the
// user-interface thread, so they need no locking.
struct AppGlobals {
    // "exitexodos" asks the start-up sequence to stop; "Administrator" marks
    // an accepted login; anything else means go on. Compared exactly.
    QString ExitMarker;
    // The working directory at start-up, never refreshed afterwards.
    QString AppDirectory;
    // Built once from AppDirectory; every connection opens with it.
    QString AppConnectionString;
    // Today as the program took it: at start-up, and again on each return
    // from the notification area. The calendar and its "today" follow it.
    quint16 TodayYear = 0;
    quint16 TodayMonth = 0;
    quint16 TodayDay = 0;
    // The calendar's shown month (1..12) and year, written only by the main
    // window's month grid.
    int ViewYear = 0;
    int ViewMonth = 0;
    // The last clicked day and its SQL date literal; the day windows read
    // the literal while they are open.
    int SelectedDay = 0;
    QString SelectedDateLiteral;
};

AppGlobals& app();

inline const QString kExitRequested = QStringLiteral("exitexodos");
inline const QString kLoginAccepted = QStringLiteral("Administrator");
inline const QString kApplicationTitle =
    QStringLiteral("KAVELO ORGANIZER by KAVELO SOFTWARE DEVELOPMENT");

// The local date and time as the program reads them. Tests pin them with
// SetLocalNowForTests so that nothing depends on the real clock; an invalid
// value returns to the real clock.
QDateTime LocalNow();
void SetLocalNowForTests(const QDateTime& now);
