// Shows one window of the program by its class name, for a person to look at
// (screenshots under Xvfb).
//   build/tools/show-window TForm65

#include <QApplication>
#include <QLocale>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "calc/Unit65.h"
#include "sticky/Unit35.h"
#include "widgets/WindowStyle.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Greek, QLocale::Greece));
    widgets::InstallFontSubstitutions();
    const std::map<QString, std::function<QWidget*()>> windows{
        {QStringLiteral("TForm35"), [] { return new TForm35; }},
        {QStringLiteral("TForm65"), [] { return new TForm65; }},
    };
    const auto found = argc == 2 ? windows.find(QString::fromLocal8Bit(argv[1])) : windows.end();
    if (found == windows.end()) {
        std::fprintf(stderr, "usage: show-window TForm35|TForm65\n");
        return 2;
    }
    const std::unique_ptr<QWidget> window(found->second());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    return QApplication::exec();
}
