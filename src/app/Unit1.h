#pragma once

#include <QWidget>
#include <array>

#include "store/Command.h"
#include "store/Connection.h"

class DayCellLabel;
class QComboBox;
class QLabel;
class QPushButton;

// Full runs the whole start-up sequence; CalendarOnly builds the connection
// string and brings up the calendar on today's month, nothing else.
enum class StartupMode { Full, CalendarOnly };

// The main window: the month calendar and, below it, the program's
// commands. Its calendar routines live in calendar/.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDayCells = 37;
    static constexpr int kFirstListedYear = 2008;
    static constexpr int kLastListedYear = 2035;

    explicit TForm1(StartupMode mode = StartupMode::Full, QWidget* parent = nullptr);
    ~TForm1() override;

    // Ends the run from inside the creation: the event loop stops on its
    // first turn and the window is never offered for use.
    void RequestQuitFromCreation();
    bool quitRequested() const { return quitRequested_; }

    // Month grid.
    void ShowTodayMonth();
    void FillMonthGrid();
    void UpdateLeapYear(unsigned year);
    void ComputeFirstWeekday();

    // Day markers.
    void RefreshDayMarkers();
    void SetDayMarker(int day, int count);
    void ClearDayMarker(int day);

    bool LeapYearFlag = false;
    quint16 DaysInMonth = 0;
    quint16 FirstWeekday = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    void FormClose();

    void BuildCalendarArea();
    void BuildSelectorBar();
    void BuildDayCells();
    void PaintCalendarBoxes(QPainter& painter) const;
    void ResetDayCells();
    void PlaceDays();
    void HighlightToday();
    // The first cell whose day-number caption is day; 0 when none.
    int CellShowingDay(int day) const;

    void ComboBox1Change();
    void ComboBox2Change();
    void BitBtn1Click();

    StartupMode mode_;
    bool quitRequested_ = false;

    store::Connection ADOConnection1;
    store::Command ADOCommand1{&ADOConnection1};

    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    std::array<DayCellLabel*, kDayCells> LabelD{};
    std::array<QLabel*, kDayCells> LabelR{};
};
