#include "day/DayWindowLook.h"

#include <QLabel>

#include "widgets/WindowStyle.h"

namespace daywindow {

void ApplyFrame(QWidget* window) {
    widgets::ApplyWindowConventions(window, QSize(982, 689));
    window->setFont(widgets::TahomaPixels(11));
}

void ApplyDayCaptionLook(QLabel* caption) {
    caption->setFont(widgets::TahomaPixels(15));
    QPalette palette = caption->palette();
    palette.setColor(QPalette::WindowText, widgets::kDayBlue);
    palette.setColor(QPalette::Window, Qt::white);
    caption->setPalette(palette);
}

void SetDayCaption(QLabel* caption, const QString& dayText) {
    caption->setText(dayText);
    caption->adjustSize();
}

}  // namespace daywindow
