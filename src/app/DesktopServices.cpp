#include "app/DesktopServices.h"

#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>

QString FindCalculator() {
    for (const char* program : kCalculatorPrograms) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!path.isEmpty()) {
            return path;
        }
    }
    return QString();
}

void StartCalculator() {
    const QString calculator = FindCalculator();
    if (!calculator.isEmpty()) {
        QProcess::startDetached(calculator, {});
    }
}

namespace {

std::optional<bool>& PinnedTrayAvailability() {
    static std::optional<bool> pinned;
    return pinned;
}

}  // namespace

bool SystemTrayAvailable() {
    const std::optional<bool>& pinned = PinnedTrayAvailability();
    return pinned.has_value() ? *pinned : QSystemTrayIcon::isSystemTrayAvailable();
}

void SetSystemTrayAvailableForTests(std::optional<bool> available) {
    PinnedTrayAvailability() = available;
}

namespace {

QPixmap CalendarPage(int size) {
    QPixmap page(size, size);
    page.fill(Qt::transparent);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    const QRectF sheet(unit, unit, 14 * unit, 14 * unit);
    painter.setPen(QPen(Qt::black, qMax(1.0, unit / 2)));
    painter.setBrush(QColor(255, 251, 240));
    painter.drawRoundedRect(sheet, unit, unit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 0, 0));
    painter.drawRect(QRectF(sheet.left(), sheet.top(), sheet.width(), 4 * unit));
    // Three rows of four days, today's in the calendar's highlight colour.
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const bool today = row == 1 && column == 2;
            painter.setBrush(today ? QColor(0, 128, 128) : QColor(128, 128, 128));
            painter.drawRect(
                QRectF((2.5 + 3 * column) * unit, (6.5 + 2.7 * row) * unit, 2 * unit, 1.8 * unit));
        }
    }
    return page;
}

}  // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 22, 32, 48, 64}) {
        icon.addPixmap(CalendarPage(size));
    }
    return icon;
}
