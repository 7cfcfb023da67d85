#include "app/StartupSequence.h"

#include <cstdio>
#include <memory>

#include "access/Unit165.h"
#include "access/Unit17.h"
#include "app/ScreenResolution.h"
#include "app/Unit100.h"
#include "core/AppGlobals.h"
#include "core/ProgramTimer.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"

namespace {

// Nothing is shown on screen when start-up ends on an error, but a person who
// started the program from a terminal learns why.
void ReportStartupFailure(const QString& reason) {
    const QByteArray line =
        QStringLiteral("%1: start-up ended: %2\n").arg(kApplicationTitle, reason).toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
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

bool RunSteps(const std::function<void()>& lastStep) {
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
    lastStep();
    return true;
}

}  // namespace

bool RunStartupSequence(const std::function<void()>& lastStep) {
    try {
        return RunSteps(lastStep);
    } catch (const std::exception& error) {
        ReportStartupFailure(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ReportStartupFailure(QStringLiteral("an unknown error"));
    }
    return false;
}
