#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "store/Command.h"
#include "store/Connection.h"

class DayCellLabel;
class QComboBox;
class QLabel;
class QPushButton;
class TForm2;

// The month calendar of the main window: the year and month lists, the
// weekday header, the 37 day cells with their markers and the hint line, at
// fixed positions from the owner's top left corner. A click on a day opens
// its task table over the owner's window.
class MonthCalendar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDayCells = 37;
    static constexpr int kFirstListedYear = 2008;
    static constexpr int kLastListedYear = 2035;

    explicit MonthCalendar(QWidget* parent = nullptr);
    ~MonthCalendar() override;

    // Month grid.
    void ShowTodayMonth();
    void FillMonthGrid();
    void UpdateLeapYear(unsigned year);
    void ComputeFirstWeekday();

    // Day markers.
    void RefreshDayMarkers();
    void SetDayMarker(int day, int count);
    void ClearDayMarker(int day);

    // Day selection: ensures the day's row, shows its task table modally
    // with the window hidden, and rewrites the markers afterwards.
    void OpenSelectedDay();
    // The steps of OpenSelectedDay up to a prepared table, not yet shown;
    // null when the day's row cannot be made (the user has been told why).
    std::unique_ptr<TForm2> PrepareSelectedDayTable();

    bool LeapYearFlag = false;
    quint16 DaysInMonth = 0;
    quint16 FirstWeekday = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    // With a day in the focus: the arrows move to the day before, after,
    // above or below it, Page Up and Page Down to the month before or after.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildSelectorBar();
    void BuildWeekdayHeader();
    void BuildDayCells();
    void BuildHint();
    void ResetDayCells();
    void PlaceDays();
    void HighlightToday();
    // The first cell whose day-number caption is day; 0 when none.
    int CellShowingDay(int day) const;
    int FocusedDay() const;
    void FocusDay(int day);
    void ShowMonthAfter(int months);

    void ComboBox1Change();
    void ComboBox2Change();
    void BitBtn1Click();
    void LabelDClick(int cell);

    store::Connection ADOConnection1;
    store::Command ADOCommand1{&ADOConnection1};

    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    std::array<DayCellLabel*, kDayCells> LabelD{};
    std::array<QLabel*, kDayCells> LabelR{};
};
