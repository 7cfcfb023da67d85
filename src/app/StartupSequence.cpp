#include "app/StartupSequence.h"

#include <cstdio>
#include <memory>

#include "access/Unit165.h"
#include "access/Unit17.h"
#include "app/ScreenResolution.h"
#include "app/Unit100.h"
#include "core/AppGlobals.h"
#include "core/ProgramTimer.h"
#include "store/Backup.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DatabaseError.h"

namespace {

// A person who started the program from a terminal learns why something
// went wrong, also where the screen shows nothing.
void WriteStartupLine(const QString& what, const QString& reason) {
    const QByteArray line =
        QStringLiteral("%1: %2: %3\n").arg(kApplicationTitle, what, reason).toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

void ReportStartupFailure(const QString& reason) {
    WriteStartupLine(QStringLiteral("start-up ended"), reason);
}

// Step 1 has a guard of its own: whatever escapes the check's own guard
// stops start-up without a message.
void CheckResolutionGuarded() {
    try {
        CheckScreenResolution();
    } catch (...) {
        ReportStartupFailure(QStringLiteral("the screen resolution check failed"));
        app().ExitMarker = kExitRequested;
    }
}

void BuildConnectionString() {
    app().AppDirectory = store::CurrentAppDirectory();
    app().AppConnectionString = store::BuildConnectionString(app().AppDirectory);
}

void ShowSplash() {
    const auto splash = std::make_unique<TForm100>();
    splash->Timer1->start();
    splash->exec();
}

// Fails when the database cannot be opened or read, which ends start-up.
bool PasswordIsStored() {
    store::Connection ADOConnection2;
    ADOConnection2.reopen(app().AppConnectionString);
    const qint64 count =
        store::ScalarQuery(ADOConnection2,
                           QStringLiteral("select count(*) as synolo from ADMINISTRATOR_ACCOUNT"))
            .toLongLong();
    ADOConnection2.close();
    return count != 0;
}

template <typename Window>
void ShowModal() {
    const auto window = std::make_unique<Window>();
    window->exec();
}

bool EndRequested() {
    return app().ExitMarker == kExitRequested;
}

// At most one backup a day, made once the user has shown the password; the
// data stays usable whether or not the backup can be made.
void BackUpAfterLogin(const std::function<void(const QString&)>& backupFailed) {
    QString reason;
    try {
        store::BackUpDatabase(app().AppConnectionString, LocalNow().date());
        return;
    } catch (const store::DatabaseError& error) {
        reason = error.message();
    } catch (const std::exception& error) {
        reason = QString::fromUtf8(error.what());
    }
    WriteStartupLine(QStringLiteral("the backup failed"), reason);
    backupFailed(reason);
}

bool RunSteps(const std::function<void()>& lastStep,
              const std::function<void(const QString&)>& backupFailed) {
    CheckResolutionGuarded();
    if (EndRequested()) {
        return false;
    }
    BuildConnectionString();
    ShowSplash();
    if (!PasswordIsStored()) {
        ShowModal<TForm17>();
    }
    app().ExitMarker = kExitRequested;
    ShowModal<TForm165>();
    if (EndRequested()) {
        return false;
    }
    BackUpAfterLogin(backupFailed);
    lastStep();
    return true;
}

}  // namespace

bool RunStartupSequence(const std::function<void()>& lastStep,
                        const std::function<void(const QString&)>& backupFailed) {
    try {
        return RunSteps(lastStep, backupFailed);
    } catch (const std::exception& error) {
        ReportStartupFailure(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ReportStartupFailure(QStringLiteral("an unknown error"));
    }
    return false;
}
