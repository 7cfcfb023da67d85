#pragma once

#include <functional>
#include <memory>

#include "app/Unit1.h"

namespace store {
class DataFolderLock;
}

class TForm7;
class TForm14;
class TForm15;

// The windows program entry creates, in this order, and that live until the
// program ends: the main window first (its creation runs the start-up
// sequence), then the three windows that later windows show modally.
struct ProgramWindows {
    ProgramWindows();
    ProgramWindows(ProgramWindows&&) noexcept;
    ~ProgramWindows();

    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm7> Form7;
    std::unique_ptr<TForm14> Form14;
    std::unique_ptr<TForm15> Form15;
};

// Creates the windows even when start-up asked for the end; the calendar is
// then never shown.
ProgramWindows CreateProgramWindows(StartupMode mode = StartupMode::Full);

// Creates the windows and runs eventLoop (QApplication::exec in the program)
// until the program ends, returning its exit code. When start-up asked for
// the end (a refused login, a switched display, an error), it returns 0 at
// once and eventLoop never runs: nothing depends on a quit request that a
// nested event loop of start-up may already have swallowed.
int RunProgram(StartupMode mode, const std::function<int()>& eventLoop);

// Makes the data folder ready (see store::PrepareDataFolder) and makes it
// the working directory, which the connection string is built from. On
// failure the user is told why in an error box and on standard error, and
// false comes back.
bool EnterDataFolder(const QString& folder, const QString& shippedFolder);

// Claims the data folder, the working directory, for this run. Returns null
// when another running program holds it: the user has been told, in a notice
// and on standard error, that the organizer is already running. A folder
// where no lock can be made is used without one.
std::unique_ptr<store::DataFolderLock> ClaimDataFolder(const QString& folder);
