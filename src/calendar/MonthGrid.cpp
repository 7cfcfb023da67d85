// The month grid: which month is shown, and the placement of its days in
// the 37 cells with their colours.
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>
#include <stdexcept>

#include "calendar/DayCellLabel.h"
#include "calendar/MonthCalendar.h"
#include "calendar/MonthMath.h"
#include "core/AppGlobals.h"
#include "widgets/ErrorGuard.h"

namespace {

const QColor kWeekdayText(0, 0, 0);
const QColor kWeekendText(128, 128, 128);
const QColor kTodayText(255, 255, 0);
const QColor kTodayBackground(0, 128, 128);

bool IsWeekendColumn(int cell) {
    return (cell - 1) % 7 >= 5;
}

// Palette changes cost a style pass per label, so only real changes apply.
void SetCellColors(QLabel* label, const QColor& text, const QColor& background) {
    QPalette palette = label->palette();
    if (palette.color(QPalette::WindowText) == text &&
        palette.color(QPalette::Window) == background) {
        return;
    }
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    label->setPalette(palette);
}

int SelectedYear(const QComboBox* yearList) {
    bool ok = false;
    const int year = yearList->currentText().toInt(&ok);
    if (!ok) {
        throw std::invalid_argument(QStringLiteral("'%1' is not a valid integer value.")
                                        .arg(yearList->currentText())
                                        .toStdString());
    }
    return year;
}

}  // namespace

void MonthCalendar::ShowTodayMonth() {
    {
        const QSignalBlocker monthBlocker(ComboBox1);
        const QSignalBlocker yearBlocker(ComboBox2);
        ComboBox1->setCurrentIndex(app().TodayMonth - 1);
        // A year outside the list leaves the list without a selection.
        const int yearIndex = app().TodayYear - kFirstListedYear;
        ComboBox2->setCurrentIndex(yearIndex < ComboBox2->count() ? yearIndex : -1);
    }
    FillMonthGrid();
}

void MonthCalendar::FillMonthGrid() {
    app().ViewYear = SelectedYear(ComboBox2);
    app().ViewMonth = ComboBox1->currentIndex() + 1;
    UpdateLeapYear(unsigned(app().ViewYear));
    DaysInMonth = quint16(DaysInMonthOf(app().ViewMonth, LeapYearFlag));
    ComputeFirstWeekday();
    // Every cell ends in its final state in one pass, instead of being
    // hidden and shown again: the result is the same, without the flicker.
    ResetDayCells();
    PlaceDays();
    HighlightToday();
    RefreshDayMarkers();
}

void MonthCalendar::UpdateLeapYear(unsigned year) {
    LeapYearFlag = IsLeapYear(year);
}

void MonthCalendar::ComputeFirstWeekday() {
    FirstWeekday = quint16(WeekdayOfSum(FirstWeekdaySum(app().ViewYear, app().ViewMonth)));
}

void MonthCalendar::ResetDayCells() {
    for (int cell = 1; cell <= kDayCells; ++cell) {
        SetCellColors(LabelD[cell - 1], IsWeekendColumn(cell) ? kWeekendText : kWeekdayText,
                      Qt::white);
    }
}

void MonthCalendar::PlaceDays() {
    const int firstCell = CellOfDay(1, FirstWeekday);
    const int lastCell = CellOfDay(DaysInMonth, FirstWeekday);
    for (int cell = 1; cell <= kDayCells; ++cell) {
        const bool holdsDay = cell >= firstCell && cell <= lastCell;
        const QString caption = holdsDay ? QString::number(cell - firstCell + 1) : QString();
        LabelD[cell - 1]->setText(caption);
        LabelD[cell - 1]->setVisible(holdsDay);
        if (holdsDay) {
            LabelD[cell - 1]->SetDayName(
                QDate(app().ViewYear, app().ViewMonth, cell - firstCell + 1), -1);
        }
        LabelR[cell - 1]->setText(QString());
        LabelR[cell - 1]->setVisible(holdsDay);
    }
}

void MonthCalendar::HighlightToday() {
    if (app().ViewMonth != app().TodayMonth || app().ViewYear != app().TodayYear) {
        return;
    }
    if (const int cell = CellShowingDay(app().TodayDay)) {
        SetCellColors(LabelD[cell - 1], kTodayText, kTodayBackground);
    }
}

int MonthCalendar::CellShowingDay(int day) const {
    const QString caption = QString::number(day);
    for (int cell = 1; cell <= kDayCells; ++cell) {
        if (LabelD[cell - 1]->text() == caption) {
            return cell;
        }
    }
    return 0;
}

void MonthCalendar::ComboBox1Change() {
    widgets::RunReportingErrors(this, [this] { FillMonthGrid(); });
}

void MonthCalendar::ComboBox2Change() {
    widgets::RunReportingErrors(this, [this] { FillMonthGrid(); });
}

void MonthCalendar::BitBtn1Click() {
    widgets::RunReportingErrors(this, [this] { ShowTodayMonth(); });
}

int MonthCalendar::FocusedDay() const {
    for (const DayCellLabel* cell : LabelD) {
        if (cell->hasFocus()) {
            return cell->text().toInt();
        }
    }
    return 0;
}

void MonthCalendar::FocusDay(int day) {
    if (const int cell = CellShowingDay(day)) {
        LabelD[cell - 1]->setFocus(Qt::OtherFocusReason);
    }
}

// The lists follow, so that they always name the month on show.
void MonthCalendar::ShowMonthAfter(int months) {
    const int index = (ComboBox2->currentIndex() * 12 + ComboBox1->currentIndex()) + months;
    if (ComboBox2->currentIndex() < 0 || index < 0 || index >= ComboBox2->count() * 12) {
        return;
    }
    {
        const QSignalBlocker monthBlocker(ComboBox1);
        const QSignalBlocker yearBlocker(ComboBox2);
        ComboBox1->setCurrentIndex(index % 12);
        ComboBox2->setCurrentIndex(index / 12);
    }
    widgets::RunReportingErrors(this, [this] { FillMonthGrid(); });
}

void MonthCalendar::keyPressEvent(QKeyEvent* event) {
    const int day = FocusedDay();
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
            step = -7;
            break;
        case Qt::Key_Down:
            step = 7;
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (day > 0) {
                ShowMonthAfter(event->key() == Qt::Key_PageUp ? -1 : 1);
                FocusDay(std::min(day, int(DaysInMonth)));
                return;
            }
            break;
        default:
            break;
    }
    if (day == 0 || step == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    FocusDay(day + step);
}
