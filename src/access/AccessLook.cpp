#include "access/AccessLook.h"

#include <QLabel>
#include <QLineEdit>

namespace accesscontrol {
namespace {

void MakeRed(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
}

}  // namespace

void RemoveTitleBarButtons(QWidget* window) {
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint);
}

QLabel* MakeCaseWarning(QWidget* parent, const QString& name) {
    auto* label = new QLabel(kCaseWarning, parent);
    label->setObjectName(name);
    MakeRed(label);
    return label;
}

QLineEdit* MakePasswordEdit(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return edit;
}

QLabel* MakeMandatoryMark(QWidget* parent, const QString& name, bool bold) {
    auto* label = new QLabel(QStringLiteral("*"), parent);
    label->setObjectName(name);
    MakeRed(label);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

}  // namespace accesscontrol
