#pragma once

#include <QLabel>

// The day-number label of a grid cell: a label that reports a left click
// released over it. Hidden labels get no clicks, so empty cells never react.
class DayCellLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
