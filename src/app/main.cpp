#include <QApplication>

#include "app/AppGlobals.h"
#include "app/ProgramEntry.h"
#include "widgets/WindowStyle.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    widgets::InstallFontSubstitutions();

    const ProgramWindows windows = CreateProgramWindows();
    return QApplication::exec();
}
