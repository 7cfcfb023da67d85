#include "app/ProgramEntry.h"

#include "app/Windows.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "notebook/Unit7.h"

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows::~ProgramWindows() {
    if (Form7 != nullptr) {
        RegisterLongLivedWindows({});
    }
}

ProgramWindows CreateProgramWindows(StartupMode mode) {
    ProgramWindows windows;
    windows.Form1 = std::make_unique<TForm1>(mode);
    windows.Form7 = std::make_unique<TForm7>();
    windows.Form14 = std::make_unique<TForm14>();
    windows.Form15 = std::make_unique<TForm15>();
    RegisterLongLivedWindows({windows.Form7.get(), windows.Form14.get(), windows.Form15.get()});
    if (!windows.Form1->quitRequested()) {
        windows.Form1->show();
    }
    return windows;
}
