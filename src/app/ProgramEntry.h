#pragma once

#include <memory>

#include "app/Unit1.h"

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

// Creates the windows even when start-up asked for the end; the event loop
// then stops on its first turn and the calendar is never shown.
ProgramWindows CreateProgramWindows(StartupMode mode = StartupMode::Full);
