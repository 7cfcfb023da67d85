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

}  // namespace widgets
