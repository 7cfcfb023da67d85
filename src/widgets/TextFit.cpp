#include "widgets/TextFit.h"

#include <QFontMetrics>
#include <QWidget>

namespace widgets {

void ShrinkFontToFit(QWidget* widget, const QString& text, int width) {
    constexpr qreal kSmallestPoints = 6.0;
    QFont font = widget->font();
    while (QFontMetrics(font).horizontalAdvance(text) > width &&
           font.pointSizeF() > kSmallestPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    widget->setFont(font);
}

}  // namespace widgets
