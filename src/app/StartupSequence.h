#pragma once

#include <QString>
#include <functional>

// Everything the user meets before the calendar, in a fixed order: the
// resolution check, the connection string, the splash, the set-password
// window when no password is stored, the login, today's backup of the
// database; then lastStep (today's month). Returns false when the program is
// to end: a step asked for it through ExitMarker, or an error escaped a step.
// Such an error is shown to nobody on screen; its reason goes to standard
// error as one line. A failed backup never ends the program: its reason goes
// to standard error and to backupFailed, and start-up goes on.
bool RunStartupSequence(const std::function<void()>& lastStep,
                        const std::function<void(const QString&)>& backupFailed);
