#include <QApplication>

#include "app/ProgramEntry.h"
#include "core/AppGlobals.h"
#include "core/ProgramLocale.h"
#include "widgets/WindowStyle.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    ApplyProgramLocale();
    widgets::InstallFontSubstitutions();

    const ProgramWindows windows = CreateProgramWindows();
    return QApplication::exec();
}
