#include "day/DayWindowLook.h"

#include <QLabel>
#include <QPushButton>

#include "widgets/WindowStyle.h"

namespace daywindow {

void ApplyFrame(QWidget* window) {
    widgets::ApplyWindowConventions(window, QSize(982, 689));
    window->setFont(widgets::TahomaPixels(11));
}

QLabel* MakeDayCaption(QWidget* window) {
    auto* caption = new QLabel(window);
    caption->setObjectName(QStringLiteral("Label83"));
    caption->setFont(widgets::TahomaPixels(15));
    caption->setAutoFillBackground(true);
    QPalette palette = caption->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    palette.setColor(QPalette::Window, Qt::white);
    caption->setPalette(palette);
    caption->move(450, 14);
    return caption;
}

void SetDayCaption(QLabel* caption, const QString& dayText) {
    caption->setText(dayText);
    caption->adjustSize();
}

QPushButton* MakeExitButton(QWidget* window) {
    auto* button = new QPushButton(QStringLiteral("Έ&ξοδος"), window);
    button->setObjectName(QStringLiteral("Button29"));
    button->setGeometry(8, 648, 75, 25);
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    widgets::SetCancelButton(window, button);
    return button;
}

}  // namespace daywindow
