#pragma once

#include <QSystemTrayIcon>
#include <QWidget>
#include <array>
#include <memory>

#include "store/Command.h"
#include "store/Connection.h"

class DayCellLabel;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QPushButton;
class TForm2;

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

    // Back from the notification area: the start-up month, the window shown,
    // the tray icon hidden. A database error is reported, not thrown.
    void RestoreFromTray();

    // Day selection: ensures the day's row, shows its task table modally
    // with this window hidden, and rewrites the markers afterwards.
    void OpenSelectedDay();
    // The steps of OpenSelectedDay up to a prepared table, not yet shown.
    std::unique_ptr<TForm2> PrepareSelectedDayTable();

    bool LeapYearFlag = false;
    quint16 DaysInMonth = 0;
    quint16 FirstWeekday = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    // The last step of start-up: today's date and the calendar on its month.
    void ShowStartupMonth();
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
    void LabelDClick(int cell);

    // The command buttons, the tray icon and its menu (MainCommands.cpp).
    void BuildCommands();
    void BuildCommandButtons();
    void BuildTrayIcon();
    void OpenFromMainWindow(std::unique_ptr<QDialog> window);
    void OpenFromTray(std::unique_ptr<QDialog> window);
    // The tray icon and the sticky notes go with the main window.
    void PutAwayTrayAndNotes();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void N1Click();
    void N3Click();
    void N4Click();
    void N5Click();
    void N6Click();
    void Stickynotes1Click();
    void password1Click();
    void About1Click();
    void TrayIcon1Click(QSystemTrayIcon::ActivationReason reason);

    StartupMode mode_;
    bool quitRequested_ = false;

    store::Connection ADOConnection1;
    store::Command ADOCommand1{&ADOConnection1};

    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    std::array<DayCellLabel*, kDayCells> LabelD{};
    std::array<QLabel*, kDayCells> LabelR{};

    QSystemTrayIcon* TrayIcon1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
};
