#pragma once

#include <QStringList>
#include <QVector>

class QFont;
class QPainter;
class QRectF;

namespace reports {

// Draws a bar chart of values into area with QPainter, so that its labels
// stay text (selectable in a PDF) and its lines stay sharp: a value axis at
// the left, one bar per value, each labelled below.
void PaintBarChart(QPainter& painter, const QRectF& area, const QStringList& labels,
                   const QVector<double>& values, const QFont& font);

}  // namespace reports
