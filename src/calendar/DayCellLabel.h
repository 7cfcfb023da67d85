#pragma once

#include <QDate>
#include <QLabel>

// The day-number label of a grid cell: a label that reports a left click
// released over it, or Enter or Space while it has the focus. Hidden labels
// get no clicks and no focus, so empty cells never react. A screen reader
// hears its full date and the number of its tasks.
class DayCellLabel : public QLabel {
    Q_OBJECT

public:
    explicit DayCellLabel(QWidget* parent = nullptr);

    // "Τρίτη 15 Δεκεμβρίου 2026, 2 εργασίες"; a count below 0 leaves the
    // tasks unsaid (not yet counted).
    void SetDayName(const QDate& date, int tasks);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The date as last spoken: a month redraw names each day twice (placed,
    // then counted), and the date is written out only once.
    QDate namedDate_;
    QString dateName_;
};
