#include "widgets/WindowStyle.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace widgets {

void InstallFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
}

QFont TahomaPoints(int points) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(points);
    return font;
}

QFont TahomaPixels(int pixels, bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void ApplyWindowConventions(QWidget* window, QSize clientSize, bool minimizeBox,
                            const QColor& background) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (minimizeBox) {
        flags |= Qt::WindowMinimizeButtonHint;
        flags &= ~Qt::Dialog;
        flags |= Qt::Window;
    }
    window->setWindowFlags(flags);
    window->setFixedSize(clientSize);
    window->setFont(TahomaPoints(8));
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, background);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    CenterOnScreen(window);
}

void CenterOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

void SetCancelButton(QWidget* window, QPushButton* button) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled() && button->isVisible()) {
            button->click();
        }
    });
}

void SetDefaultButton(QPushButton* button) {
    button->setDefault(true);
    button->setAutoDefault(true);
}

namespace {

void MakeRed(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kMarkRed);
    label->setPalette(palette);
}

void MakeRedBold(QLabel* label) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    MakeRed(label);
}

void MakeBold(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

}  // namespace

void ApplyControlRoles(QWidget* window) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        const QString role = label->property("role").toString();
        if (role == QLatin1String("mandatory") || role == QLatin1String("value")) {
            MakeRedBold(label);
        } else if (role == QLatin1String("heading")) {
            MakeBold(label);
        } else if (role == QLatin1String("accent")) {
            MakeRed(label);
        }
    }
}

QLabel* MakeMandatoryMark(QWidget* parent, const QString& name, const QString& text) {
    auto* mark = new QLabel(text, parent);
    mark->setObjectName(name);
    MakeRedBold(mark);
    return mark;
}

void UseAsExitButton(QWidget* window, QPushButton* button) {
    button->setAutoDefault(false);
    SetCancelButton(window, button);
    QObject::connect(button, &QPushButton::clicked, window, &QWidget::close);
}

}  // namespace widgets
