#pragma once

#include <QSystemTrayIcon>
#include <QWidget>
#include <memory>

class MonthCalendar;
class QDialog;
class QMenu;

namespace Ui {
class TForm1;
}

// Full runs the whole start-up sequence; CalendarOnly builds the connection
// string and brings up the calendar on today's month, nothing else.
enum class StartupMode { Full, CalendarOnly };

// The main window: the month calendar and, below it, the program's
// commands, the tray icon and its menu.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(StartupMode mode = StartupMode::Full, QWidget* parent = nullptr);
    ~TForm1() override;

    // Ends the run from inside the creation: the event loop stops on its
    // first turn and the window is never offered for use.
    void RequestQuitFromCreation();
    bool quitRequested() const { return quitRequested_; }

    MonthCalendar* Calendar() const;

    // Back from the notification area: today taken afresh, since the
    // program may have waited there past midnight, and the calendar on its
    // month; the window shown, the tray icon hidden. A database error is
    // reported, not thrown.
    void RestoreFromTray();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    // Today's date from the local clock, and the calendar on its month: the
    // last step of start-up, and the return from the notification area.
    void TakeTodayAndShowItsMonth();
    // Tells the user once, without blocking, when the window first comes up.
    void NoteBackupFailure(const QString& reason);

    // The command buttons, the tray icon and its menu (MainCommands.cpp).
    void BuildCommands();
    void OfferCommandsByMenuKey();
    void ConnectCommandButtons();
    void BuildTrayIcon();
    void OpenFromMainWindow(std::unique_ptr<QDialog> window);
    void OpenFromTray(std::unique_ptr<QDialog> window);
    // The tray icon and the sticky notes go with the main window.
    void PutAwayTrayAndNotes();

    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void N1Click();
    void N3Click();
    void N4Click();
    void N5Click();
    void N6Click();
    void N7Click();
    void N8Click();
    void Stickynotes1Click();
    void password1Click();
    void About1Click();
    void TrayIcon1Click(QSystemTrayIcon::ActivationReason reason);

    StartupMode mode_;
    bool quitRequested_ = false;

    std::unique_ptr<Ui::TForm1> ui;
    QSystemTrayIcon* TrayIcon1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
};
