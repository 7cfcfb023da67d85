// The main window's commands: the command buttons, the move to the
// notification area and back, the tray menu, the calculator and the exit.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

#include "access/Unit27.h"
#include "app/DesktopServices.h"
#include "app/Unit1.h"
#include "app/Unit62.h"
#include "calc/Unit65.h"
#include "calendar/MonthCalendar.h"
#include "contacts/Unit10.h"
#include "core/AppGlobals.h"
#include "expenses/Unit5.h"
#include "notebook/Unit6.h"
#include "sticky/Unit35.h"
#include "ui_Unit1.h"
#include "widgets/ErrorGuard.h"
#include "widgets/ModalLoop.h"
#include "widgets/TextFit.h"
#include "widgets/WindowStyle.h"

namespace {

void FitCaption(QPushButton* button) {
    constexpr int kPadding = 10;
    const QString shown = QString(button->text()).remove(QLatin1Char('&'));
    widgets::ShrinkFontToFit(button, shown, button->width() - kPadding);
}

QAction* AddSeparator(QMenu* menu, const QString& name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(name);
    return separator;
}

}  // namespace

void TForm1::BuildCommands() {
    // The main window may sit hidden in the notification area while the last
    // visible window closes: the program ends only when the main window does.
    QApplication::setQuitOnLastWindowClosed(false);
    ConnectCommandButtons();
    BuildTrayIcon();
}

void TForm1::ConnectCommandButtons() {
    for (QPushButton* button : findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        FitCaption(button);
    }
    connect(ui->Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(ui->Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ui->Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connect(ui->Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(ui->Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    widgets::UseAsExitButton(this, ui->Button1);
    OfferCommandsByMenuKey();
}

// The buttons take no part in the Tab order, and three of them have no Alt
// letter: the menu key (or Shift+F10, or a right click) offers every one of
// them, in the order they stand, under the control that has the focus.
void TForm1::OfferCommandsByMenuKey() {
    for (QPushButton* button : {ui->Button4, ui->Button3, ui->Button7, ui->Button5, ui->Button6,
                                ui->Button8, ui->Button2, ui->Button9, ui->Button10, ui->Button1}) {
        auto* action = new QAction(button->text(), this);
        connect(action, &QAction::triggered, button, &QPushButton::click);
        addAction(action);
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
            const QWidget* at = focusWidget() != nullptr ? focusWidget() : this;
            QMenu::exec(actions(), at->mapToGlobal(QPoint(0, at->height())), nullptr, this);
        });
    }
}

void TForm1::BuildTrayIcon() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    struct Item {
        const char* name;
        QString caption;
        void (TForm1::*click)();
    };
    // An item without a caption is a separator line.
    const Item items[] = {
        {"N1", QStringLiteral("Βασικό παράθυρο"), &TForm1::N1Click},
        {"N10", QString(), nullptr},
        {"N5", QStringLiteral("Α&ριθμομηχανή"), &TForm1::N5Click},
        {"N4", QStringLiteral("Η&μερολογιακά"), &TForm1::N4Click},
        {"N8", QStringLiteral("Έξο&δα"), &TForm1::N8Click},
        {"N6", QStringLiteral("Ε&παφές"), &TForm1::N6Click},
        {"N7", QStringLiteral("Βιβλίο &σημειώσεων"), &TForm1::N7Click},
        {"Stickynotes1", QStringLiteral("Sticky notes"), &TForm1::Stickynotes1Click},
        {"N11", QString(), nullptr},
        {"password1", QStringLiteral("Αλλαγή password"), &TForm1::password1Click},
        {"N2", QString(), nullptr},
        {"About1", QStringLiteral("About"), &TForm1::About1Click},
        {"N9", QString(), nullptr},
        {"N3", QStringLiteral("Έ&ξοδος"), &TForm1::N3Click},
    };
    for (const Item& item : items) {
        const QString name = QString::fromLatin1(item.name);
        if (item.caption.isEmpty()) {
            AddSeparator(PopupMenu1, name);
            continue;
        }
        QAction* action = PopupMenu1->addAction(item.caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, item.click);
    }

    setWindowIcon(ApplicationIcon());
    TrayIcon1 = new QSystemTrayIcon(ApplicationIcon(), this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->setToolTip(kApplicationTitle);
    TrayIcon1->setContextMenu(PopupMenu1);
    connect(TrayIcon1, &QSystemTrayIcon::activated, this, &TForm1::TrayIcon1Click);
}

// The window is created by the caller, so one that fails while being made
// leaves the main window as it was.
void TForm1::OpenFromMainWindow(std::unique_ptr<QDialog> window) {
    hide();
    // Not exec(): a window that hides itself while it shows another (the
    // expenses menu) would end its exec() there.
    widgets::RunModalLoop(*window);
    window.reset();
    show();
}

void TForm1::OpenFromTray(std::unique_ptr<QDialog> window) {
    TrayIcon1->hide();
    widgets::RunModalLoop(*window);
    TrayIcon1->show();
    window.reset();
}

// The month is drawn before its markers are read: when the database cannot
// be read, the error is reported and the window comes back all the same.
void TForm1::RestoreFromTray() {
    widgets::RunReportingErrors(this, [this] { TakeTodayAndShowItsMonth(); });
    show();
    raise();
    activateWindow();
    TrayIcon1->hide();
}

// Without a notification area the tray icon could never be clicked, and a
// hidden window could never come back: the window goes to the task bar.
void TForm1::Button2Click() {
    if (!SystemTrayAvailable()) {
        showMinimized();
        return;
    }
    hide();
    TrayIcon1->show();
}

void TForm1::PutAwayTrayAndNotes() {
    TrayIcon1->hide();
    TForm35::CloseAll();
}

void TForm1::N3Click() {
    close();
}

void TForm1::N1Click() {
    RestoreFromTray();
}

void TForm1::TrayIcon1Click(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) {
        RestoreFromTray();
    }
}

void TForm1::Button4Click() {
    StartCalculator();
}

void TForm1::N5Click() {
    StartCalculator();
}

void TForm1::Button3Click() {
    OpenFromMainWindow(std::make_unique<TForm65>());
}

void TForm1::N4Click() {
    OpenFromTray(std::make_unique<TForm65>());
}

void TForm1::Button8Click() {
    (new TForm35)->show();
}

void TForm1::Stickynotes1Click() {
    (new TForm35)->show();
}

void TForm1::Button9Click() {
    OpenFromMainWindow(std::make_unique<TForm27>());
}

void TForm1::password1Click() {
    OpenFromTray(std::make_unique<TForm27>());
}

void TForm1::Button10Click() {
    OpenFromMainWindow(std::make_unique<TForm62>());
}

void TForm1::About1Click() {
    OpenFromTray(std::make_unique<TForm62>());
}

void TForm1::Button5Click() {
    OpenFromMainWindow(std::make_unique<TForm10>());
}

void TForm1::N6Click() {
    OpenFromTray(std::make_unique<TForm10>());
}

void TForm1::Button7Click() {
    OpenFromMainWindow(std::make_unique<TForm5>());
}

void TForm1::N8Click() {
    OpenFromTray(std::make_unique<TForm5>());
}

void TForm1::Button6Click() {
    OpenFromMainWindow(std::make_unique<TForm6>());
}

void TForm1::N7Click() {
    OpenFromTray(std::make_unique<TForm6>());
}
