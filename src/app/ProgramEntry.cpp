#include "app/ProgramEntry.h"

#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "notebook/Unit7.h"

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows::~ProgramWindows() = default;

ProgramWindows CreateProgramWindows(StartupMode mode) {
    ProgramWindows windows;
    windows.Form1 = std::make_unique<TForm1>(mode);
    windows.Form7 = std::make_unique<TForm7>();
    windows.Form14 = std::make_unique<TForm14>();
    windows.Form15 = std::make_unique<TForm15>();
    if (!windows.Form1->quitRequested()) {
        windows.Form1->show();
    }
    return windows;
}
