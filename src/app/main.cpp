#include <QApplication>

#include "app/AppGlobals.h"
#include "app/Unit1.h"
#include "widgets/WindowStyle.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    widgets::InstallFontSubstitutions();

    // The first window created is the main window; its creation runs the
    // start-up sequence before it is first shown.
    TForm1 form1;
    if (!form1.quitRequested()) {
        form1.show();
    }
    return QApplication::exec();
}
