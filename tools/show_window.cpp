// Shows one window of the program on its own, for looking at its layout:
// show-window calc | sticky
#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "calc/Unit65.h"
#include "sticky/Unit35.h"
#include "widgets/WindowStyle.h"

namespace {

std::unique_ptr<QWidget> MakeWindow(const QString& name) {
    if (name == QLatin1String("calc")) {
        return std::make_unique<TForm65>();
    }
    if (name == QLatin1String("sticky")) {
        return std::make_unique<TForm35>();
    }
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Greek, QLocale::Greece));
    widgets::InstallFontSubstitutions();
    const QStringList arguments = QApplication::arguments();
    std::unique_ptr<QWidget> window = MakeWindow(arguments.value(1));
    if (window == nullptr) {
        std::fprintf(stderr, "usage: show-window calc|sticky\n");
        return 2;
    }
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    return QApplication::exec();
}
