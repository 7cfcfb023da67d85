#include "widgets/ModalLoop.h"

#include <QDialog>
#include <QEventLoop>

namespace widgets {

int RunModalLoop(QDialog& dialog) {
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    loop.exec(QEventLoop::DialogExec);
    return dialog.result();
}

int ShowModalOver(QWidget* owner, QDialog& dialog) {
    struct ShowAgain {
        QWidget* owner;
        ~ShowAgain() { owner->show(); }
    } showAgain{owner};
    owner->hide();
    return RunModalLoop(dialog);
}

}  // namespace widgets
