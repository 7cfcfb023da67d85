#include <QApplication>
#include <QWidget>

#include "app/AppGlobals.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QWidget window;
    window.setWindowTitle(kApplicationTitle);
    window.show();
    return QApplication::exec();
}
