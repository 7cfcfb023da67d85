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
    // The local date at start-up: for the whole run, today is this date.
    quint16 TodayYear = 0;
    quint16 TodayMonth = 0;
    quint16 TodayDay = 0;
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
