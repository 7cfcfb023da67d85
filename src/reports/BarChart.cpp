#include "reports/BarChart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <cmath>

namespace reports {

namespace {

// A step of 1, 2 or 5 times a power of ten that splits the range into at most five parts.
double NiceStep(double range) {
    if (range <= 0) {
        return 1;
    }
    const double rough = range / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10 * power;
}

QString AxisText(double value, double step) {
    const QLocale greek(QLocale::Greek, QLocale::Greece);
    return greek.toString(value, 'f', step < 1 ? 2 : 0);
}

struct Axis {
    double low = 0;
    double high = 1;
    double step = 1;
};

Axis AxisFor(const QVector<double>& values) {
    double low = 0;
    double high = 0;
    for (const double value : values) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    Axis axis;
    axis.step = NiceStep(high - low);
    axis.low = std::floor(low / axis.step) * axis.step;
    axis.high = std::max(std::ceil(high / axis.step) * axis.step, axis.low + axis.step);
    return axis;
}

}  // namespace

void PaintBarChart(QPainter& painter, const QRectF& area, const QStringList& labels,
                   const QVector<double>& values, const QFont& font) {
    painter.save();
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const Axis axis = AxisFor(values);

    // Room for the value axis at the left and the category labels below.
    double axisWidth = 0;
    for (double tick = axis.low; tick <= axis.high + axis.step / 2; tick += axis.step) {
        axisWidth = std::max(axisWidth, metrics.horizontalAdvance(AxisText(tick, axis.step)));
    }
    double labelWidth = 0;
    for (const QString& label : labels) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(label));
    }
    const double gap = metrics.height() / 2;
    const double slot = values.isEmpty() ? 0 : (area.width() - axisWidth - gap) / values.size();
    const bool upright = labelWidth + gap / 2 <= slot;
    const double labelHeight = upright ? metrics.height() : labelWidth + gap / 2;
    const QRectF plot(area.left() + axisWidth + gap, area.top() + gap,
                      area.width() - axisWidth - gap, area.height() - labelHeight - 2 * gap);
    const auto yOf = [&](double value) {
        return plot.bottom() - (value - axis.low) / (axis.high - axis.low) * plot.height();
    };

    painter.setPen(QPen(QColor(200, 200, 200), 0));
    for (double tick = axis.low; tick <= axis.high + axis.step / 2; tick += axis.step) {
        const double y = yOf(tick);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), y - metrics.height() / 2, axisWidth, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, AxisText(tick, axis.step));
        painter.setPen(QPen(QColor(200, 200, 200), 0));
    }

    // Labels stand upright when they fit under their bar, turned otherwise,
    // and every n-th only when even turned labels would overlap.
    const int labelEvery =
        std::max(1, int(std::ceil(metrics.height() * 1.2 / std::max(slot, 1.0))));
    for (int i = 0; i < values.size(); ++i) {
        const double left = plot.left() + i * slot;
        const double top = yOf(std::max(values[i], 0.0));
        const double bottom = yOf(std::min(values[i], 0.0));
        painter.fillRect(QRectF(left + slot * 0.15, top, slot * 0.7, bottom - top),
                         QColor(70, 110, 170));
        if (i >= labels.size() || (!upright && i % labelEvery != 0)) {
            continue;
        }
        painter.setPen(Qt::black);
        if (upright) {
            painter.drawText(QRectF(left, plot.bottom() + gap / 2, slot, metrics.height()),
                             Qt::AlignHCenter | Qt::AlignTop, labels[i]);
        } else {
            painter.save();
            painter.translate(left + slot / 2 + metrics.ascent() / 2, plot.bottom() + gap / 2);
            painter.rotate(-90);
            painter.drawText(QRectF(-labelWidth, -metrics.ascent(), labelWidth, metrics.height()),
                             Qt::AlignRight | Qt::AlignVCenter, labels[i]);
            painter.restore();
        }
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(QPointF(plot.left(), yOf(0)), QPointF(plot.right(), yOf(0)));
    painter.drawLine(plot.topLeft(), plot.bottomLeft());
    painter.restore();
}

}  // namespace reports
