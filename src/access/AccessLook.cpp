#include "access/AccessLook.h"

#include <QWidget>

namespace accesscontrol {

void RemoveTitleBarButtons(QWidget* window) {
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint);
}

}  // namespace accesscontrol
