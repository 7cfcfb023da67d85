#include "calendar/DayCellLabel.h"

#include <QAccessibleWidget>
#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A day cell acts as a button: a screen reader says so, not "text".
QAccessibleInterface* DayCellAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("DayCellLabel") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Button);
    }
    return nullptr;
}

}  // namespace

DayCellLabel::DayCellLabel(QWidget* parent) : QLabel(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(DayCellAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::TabFocus);
}

void DayCellLabel::SetDayName(const QDate& date, int tasks) {
    if (date != namedDate_) {
        namedDate_ = date;
        dateName_ = QLocale().toString(date, QStringLiteral("dddd d MMMM yyyy"));
    }
    QString name = dateName_;
    if (tasks == 1) {
        name += QStringLiteral(", 1 εργασία");
    } else if (tasks == 0) {
        name += QStringLiteral(", καμία εργασία");
    } else if (tasks > 1) {
        name += QStringLiteral(", %1 εργασίες").arg(tasks);
    }
    setAccessibleName(name);
}

void DayCellLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT clicked();
    }
}

// Other keys go on to the calendar, which moves between the days.
void DayCellLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            Q_EMIT clicked();
            return;
        default:
            QLabel::keyPressEvent(event);
    }
}

// The style's own focus frame is a faint tint on a day cell; a frame in the
// highlight colour is seen at a glance.
void DayCellLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}
