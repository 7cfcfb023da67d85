// The main window's commands: the buttons, the tray icon and its menu, the
// two ways of opening a window, the return from the tray, the calculator and
// the exit, on a desktop with a notification area and on one without.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "TestSupport.h"
#include "app/DesktopServices.h"
#include "app/Unit1.h"
#include "calendar/MonthCalendar.h"
#include "core/AppGlobals.h"
#include "sticky/Unit35.h"
#include "widgets/Messages.h"

using testsupport::FindControl;

namespace {

QList<QWidget*> StickyNotes() {
    QList<QWidget*> notes;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->inherits("TForm35")) {
            notes.append(window);
        }
    }
    return notes;
}

int CountTopLevel(const char* className) {
    int count = 0;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        count += window->inherits(className) ? 1 : 0;
    }
    return count;
}

// What the opener looked like while its window was up.
struct SeenWhileOpen {
    bool answered = false;
    QString windowClass;
    bool mainVisible = true;
    bool trayVisible = true;
};

// Closes the next modal window, which must be windowClass, after noting
// what was visible meanwhile.
std::unique_ptr<testsupport::ExpectedModal> CloseNextModal(
    const QString& windowClass, SeenWhileOpen* seen, QWidget* main, QSystemTrayIcon* tray,
    std::source_location where = std::source_location::current()) {
    return testsupport::AnswerNextModal(
        windowClass,
        [seen, main, tray](QWidget* modal) {
            seen->answered = true;
            seen->windowClass = QString::fromLatin1(modal->metaObject()->className());
            seen->mainVisible = main->isVisible();
            seen->trayVisible = tray->isVisible();
            modal->close();
        },
        testsupport::kModalTimeoutMs, where);
}

// A stand-in calculator on PATH: a script that leaves a mark when it starts.
void WriteFakeProgram(const QString& folder, const QString& name) {
    QFile script(folder + QLatin1Char('/') + name);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n: > \"$0.started\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

class TestCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testsupport::WorkDir> work_;
    std::unique_ptr<TForm1> form_;
    QByteArray savedPath_;

    QPushButton* Button(const QString& name) { return FindControl<QPushButton>(form_.get(), name); }
    QSystemTrayIcon* Tray() { return FindControl<QSystemTrayIcon>(form_.get(), "TrayIcon1"); }
    QAction* MenuItem(const QString& name) {
        return FindControl<QAction>(Tray()->contextMenu(), name);
    }
    QComboBox* MonthList() { return FindControl<QComboBox>(form_.get(), "ComboBox1"); }
    QComboBox* YearList() { return FindControl<QComboBox>(form_.get(), "ComboBox2"); }

    void OpenMainWindowAt(const QDateTime& now) {
        form_.reset();
        SetLocalNowForTests(now);
        form_ = std::make_unique<TForm1>(StartupMode::CalendarOnly);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    // The days the calendar marks as today, in its highlight colours.
    QStringList DaysShownAsToday() {
        QStringList days;
        for (int cell = 1; cell <= MonthCalendar::kDayCells; ++cell) {
            auto* day = FindControl<QLabel>(form_.get(), QStringLiteral("LabelD%1").arg(cell));
            if (day->palette().color(QPalette::Window) == QColor(0, 128, 128)) {
                days.append(day->text());
            }
        }
        return days;
    }

    void ReturnFromTray(const QString& way) {
        if (way == QLatin1String("click")) {
            emit Tray()->activated(QSystemTrayIcon::Trigger);
        } else {
            MenuItem(way)->trigger();
        }
    }

    void ToTray() {
        Button("Button2")->click();
        QVERIFY(!form_->isVisible());
        QVERIFY(Tray()->isVisible());
    }

    // Runs the event loop of the program until it ends; false when it did
    // not end within a few seconds.
    bool ProgramEndsAfter(const std::function<void()>& action) {
        QTimer::singleShot(0, action);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(3000);
        return QApplication::exec() == 0;
    }

private slots:
    void initTestCase() { savedPath_ = qgetenv("PATH"); }

    void init() {
        testsupport::ResetTestHooks();
        work_ = std::make_unique<testsupport::WorkDir>();
        SetSystemTrayAvailableForTests(true);
        OpenMainWindowAt(QDateTime(QDate(2024, 3, 5), QTime(10, 0)));
    }

    void cleanup() {
        form_.reset();
        TForm35::CloseAll();
        testsupport::FlushDeletes();
        work_.reset();
        testsupport::ResetTestHooks();
        qputenv("PATH", savedPath_);
    }

    void commandButtons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("calculator") << "Button4"
                                    << "Α&ριθμομηχανή" << 0 << 0;
        QTest::newRow("calendar calculations") << "Button3"
                                               << "Η&μερολογιακά" << 0 << 1;
        QTest::newRow("expenses") << "Button7"
                                  << "Έξο&δα" << 0 << 2;
        QTest::newRow("contacts") << "Button5"
                                  << "Ε&παφές" << 1 << 0;
        QTest::newRow("notebook") << "Button6"
                                  << "Βιβλίο &σημειώσεων" << 1 << 1;
        QTest::newRow("sticky notes") << "Button8"
                                      << "Sticky notes" << 1 << 2;
        QTest::newRow("tray") << "Button2"
                              << "Minimize on &notification area" << 2 << 0;
        QTest::newRow("password") << "Button9"
                                  << "Αλλαγή password" << 2 << 1;
        QTest::newRow("about") << "Button10"
                               << "About" << 2 << 2;
    }

    void commandButtons() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, row);
        QFETCH(int, column);
        QPushButton* button = Button(name);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->size(), QSize(155, 25));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        // Laid out as three rows of three under the calendar, none overlapping.
        const QRect first = Button("Button4")->geometry();
        QCOMPARE(button->y() > first.y(), row > 0);
        QCOMPARE(button->x() > first.x(), column > 0);
        QCOMPARE((button->y() - first.y()) / first.height(), row);
        QCOMPARE((button->x() - first.x()) / first.width(), column);
        QVERIFY(form_->rect().contains(button->geometry()));
    }

    void exitButtonSitsAtTheBottomRight() {
        QPushButton* exit = Button("Button1");
        QCOMPARE(exit->text(), QStringLiteral("Έ&ξοδος"));
        QCOMPARE(exit->size(), QSize(82, 25));
        QCOMPARE(exit->focusPolicy(), Qt::NoFocus);
        QVERIFY(form_->width() - exit->geometry().right() < 16);
        QVERIFY(form_->height() - exit->geometry().bottom() < 16);
        QCOMPARE(form_->size(), QSize(626, 716));
        QCOMPARE(form_->windowTitle(), kApplicationTitle);
        QVERIFY(form_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    }

    void trayIconAndMenu() {
        QSystemTrayIcon* tray = Tray();
        QVERIFY(tray != nullptr);
        QVERIFY(!tray->isVisible());
        QVERIFY(!tray->icon().isNull());
        QCOMPARE(tray->toolTip(), kApplicationTitle);
        QMenu* menu = tray->contextMenu();
        QCOMPARE(menu->objectName(), QStringLiteral("PopupMenu1"));
        QStringList items;
        for (QAction* action : menu->actions()) {
            items << action->objectName() + QLatin1Char('=') +
                         (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        QCOMPARE(items,
                 QStringList({"N1=Βασικό παράθυρο", "N10=-", "N5=Α&ριθμομηχανή", "N4=Η&μερολογιακά",
                              "N8=Έξο&δα", "N6=Ε&παφές", "N7=Βιβλίο &σημειώσεων",
                              "Stickynotes1=Sticky notes", "N11=-", "password1=Αλλαγή password",
                              "N2=-", "About1=About", "N9=-", "N3=Έ&ξοδος"}));
    }

    void windowsOpenedFromTheMainWindow_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("windowClass");
        QTest::newRow("calendar calculations") << QStringLiteral("Button3") << "TForm65";
        QTest::newRow("change password") << QStringLiteral("Button9") << "TForm27";
        QTest::newRow("about") << QStringLiteral("Button10") << "TForm62";
        QTest::newRow("contacts") << QStringLiteral("Button5") << "TForm10";
        QTest::newRow("expenses") << QStringLiteral("Button7") << "TForm5";
        QTest::newRow("notebook") << QStringLiteral("Button6") << "TForm6";
    }

    void windowsOpenedFromTheMainWindow() {
        QFETCH(QString, button);
        QFETCH(QString, windowClass);
        SeenWhileOpen seen;
        const auto modal = CloseNextModal(windowClass, &seen, form_.get(), Tray());
        QTest::mouseClick(Button(button), Qt::LeftButton);
        VERIFY_MODAL(modal);
        QVERIFY(seen.answered);
        QCOMPARE(seen.windowClass, windowClass);
        QVERIFY(!seen.mainVisible);
        QVERIFY(!seen.trayVisible);
        QVERIFY(form_->isVisible());
        QVERIFY(!Tray()->isVisible());
        QCOMPARE(CountTopLevel(qPrintable(windowClass)), 0);
    }

    void windowsOpenedFromTheTray_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("windowClass");
        QTest::newRow("calendar calculations") << QStringLiteral("N4") << "TForm65";
        QTest::newRow("change password") << QStringLiteral("password1") << "TForm27";
        QTest::newRow("about") << QStringLiteral("About1") << "TForm62";
        QTest::newRow("contacts") << QStringLiteral("N6") << "TForm10";
        QTest::newRow("expenses") << QStringLiteral("N8") << "TForm5";
        QTest::newRow("notebook") << QStringLiteral("N7") << "TForm6";
    }

    void windowsOpenedFromTheTray() {
        QFETCH(QString, item);
        QFETCH(QString, windowClass);
        ToTray();
        SeenWhileOpen seen;
        const auto modal = CloseNextModal(windowClass, &seen, form_.get(), Tray());
        MenuItem(item)->trigger();
        VERIFY_MODAL(modal);
        QVERIFY(seen.answered);
        QCOMPARE(seen.windowClass, windowClass);
        QVERIFY(!seen.mainVisible);
        QVERIFY(!seen.trayVisible);
        QVERIFY(!form_->isVisible());
        QVERIFY(Tray()->isVisible());
        QCOMPARE(CountTopLevel(qPrintable(windowClass)), 0);
    }

    // The program may wait in the notification area past midnight: coming
    // back, it takes today afresh and shows today's month, whatever month
    // was shown before.
    void restoreFromTray_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QDateTime>("wentAt");
        QTest::addColumn<QDateTime>("cameBackAt");
        QTest::addColumn<QDate>("today");
        const QDateTime morning(QDate(2024, 3, 5), QTime(10, 0));
        const QDateTime lateEvening(QDate(2024, 3, 5), QTime(23, 59, 59));
        QTest::newRow("past midnight, tray click")
            << "click" << lateEvening << QDateTime(QDate(2024, 3, 6), QTime(0, 0, 1))
            << QDate(2024, 3, 6);
        QTest::newRow("past midnight into a new month, menu item")
            << "N1" << QDateTime(QDate(2024, 3, 31), QTime(23, 58))
            << QDateTime(QDate(2024, 4, 1), QTime(0, 0)) << QDate(2024, 4, 1);
        QTest::newRow("past new year's midnight, tray click")
            << "click" << QDateTime(QDate(2024, 12, 31), QTime(22, 0))
            << QDateTime(QDate(2025, 1, 1), QTime(8, 30)) << QDate(2025, 1, 1);
        QTest::newRow("days later, menu item")
            << "N1" << morning << QDateTime(QDate(2024, 3, 9), QTime(9, 0)) << QDate(2024, 3, 9);
        QTest::newRow("the same day, tray click")
            << "click" << morning << lateEvening << QDate(2024, 3, 5);
        QTest::newRow("the same day, menu item")
            << "N1" << morning << lateEvening << QDate(2024, 3, 5);
    }

    void restoreFromTray() {
        QFETCH(QString, way);
        QFETCH(QDateTime, wentAt);
        QFETCH(QDateTime, cameBackAt);
        QFETCH(QDate, today);
        OpenMainWindowAt(wentAt);
        MonthList()->setCurrentIndex((wentAt.date().month() + 6) % 12);
        ToTray();
        SetLocalNowForTests(cameBackAt);
        ReturnFromTray(way);
        QVERIFY(form_->isVisible());
        QVERIFY(!Tray()->isVisible());
        QCOMPARE(MonthList()->currentIndex(), today.month() - 1);
        QCOMPARE(YearList()->currentText(), QString::number(today.year()));
        QCOMPARE(DaysShownAsToday(), QStringList{QString::number(today.day())});
    }

    void restoreFromTrayReportsAnUnreadableDatabase_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("tray click") << "click";
        QTest::newRow("menu item") << "N1";
    }

    void restoreFromTrayReportsAnUnreadableDatabase() {
        QFETCH(QString, way);
        MonthList()->setCurrentIndex(7);
        ToTray();
        QVERIFY(QFile::remove(work_->databasePath()));
        testsupport::MessageLog messages;
        ReturnFromTray(way);
        QCOMPARE(messages.requests.size(), 1);
        QVERIFY2(messages.texts().first().contains(QStringLiteral("data.mdb")),
                 qPrintable(messages.texts().first()));
        // The month is drawn without its markers, and the window is back.
        QCOMPARE(MonthList()->currentIndex(), 2);
        QVERIFY(form_->isVisible());
        QVERIFY(!Tray()->isVisible());
    }

    void onlyAPlainClickRestores() {
        ToTray();
        emit Tray()->activated(QSystemTrayIcon::Context);
        QVERIFY(!form_->isVisible());
        QVERIFY(Tray()->isVisible());
    }

    // Without a notification area there is no tray icon to come back by:
    // the window goes to the task bar instead of hiding.
    void toTheNotificationArea_data() {
        QTest::addColumn<bool>("trayExists");
        QTest::newRow("no notification area: the task bar") << false;
        QTest::newRow("a notification area: the tray icon") << true;
    }

    void toTheNotificationArea() {
        QFETCH(bool, trayExists);
        SetSystemTrayAvailableForTests(trayExists);
        QTest::mouseClick(Button("Button2"), Qt::LeftButton);
        QCOMPARE(form_->isVisible(), !trayExists);
        QCOMPARE(form_->isMinimized(), !trayExists);
        QCOMPARE(Tray()->isVisible(), trayExists);
    }

    // Each press opens one more independent note at the centre of the screen,
    // over the ones before it, and leaves the opener as it was.
    void threeStickyNotes_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("from the main window") << "Button8";
        QTest::newRow("from the tray menu") << "Stickynotes1";
    }

    void threeStickyNotes() {
        QFETCH(QString, command);
        const bool fromTray = command == QLatin1String("Stickynotes1");
        if (fromTray) {
            ToTray();
        }
        const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
        QList<QWidget*> notes;
        for (int press = 1; press <= 3; ++press) {
            if (fromTray) {
                MenuItem(command)->trigger();
            } else {
                QTest::mouseClick(Button(command), Qt::LeftButton);
            }
            const QList<QWidget*> open = StickyNotes();
            QCOMPARE(open.size(), press);
            for (QWidget* note : open) {
                if (!notes.contains(note)) {
                    notes.append(note);
                }
            }
            QWidget* newest = notes.last();
            QVERIFY(QTest::qWaitForWindowExposed(newest));
            QVERIFY(!newest->isModal());
            QVERIFY2((newest->frameGeometry().center() - screenCentre).manhattanLength() <= 4,
                     qPrintable(QStringLiteral("note %1 is centred at %2,%3")
                                    .arg(press)
                                    .arg(newest->frameGeometry().center().x())
                                    .arg(newest->frameGeometry().center().y())));
            QCOMPARE(newest->geometry(), notes.first()->geometry());
            QCOMPARE(form_->isVisible(), !fromTray);
            QCOMPARE(Tray()->isVisible(), fromTray);
        }
        // Independent: closing the middle one leaves the other two.
        notes.at(1)->close();
        testsupport::FlushDeletes();
        const QList<QWidget*> left = StickyNotes();
        QCOMPARE(left.size(), 2);
        QVERIFY(left.contains(notes.first()));
        QVERIFY(left.contains(notes.last()));
    }

    void calculatorFound_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("started");
        QTest::newRow("only the last one") << QStringList{"xcalc"} << "xcalc";
        QTest::newRow("the first in order wins")
            << QStringList{"xcalc", "kcalc", "mate-calc"} << "kcalc";
        QTest::newRow("gnome first")
            << QStringList{"galculator", "gnome-calculator"} << "gnome-calculator";
    }

    void calculatorFound() {
        QFETCH(QStringList, installed);
        QFETCH(QString, started);
        QTemporaryDir bin;
        for (const QString& program : installed) {
            WriteFakeProgram(bin.path(), program);
        }
        qputenv("PATH", QFile::encodeName(bin.path()));
        QCOMPARE(FindCalculator(), bin.path() + QLatin1Char('/') + started);
        QTest::mouseClick(Button("Button4"), Qt::LeftButton);
        QTRY_VERIFY(QFile::exists(bin.path() + QLatin1Char('/') + started + ".started"));
        QVERIFY(form_->isVisible());
        for (const QString& program : installed) {
            if (program != started) {
                QVERIFY(!QFile::exists(bin.path() + QLatin1Char('/') + program + ".started"));
            }
        }
    }

    void calculatorFromTheTray() {
        QTemporaryDir bin;
        WriteFakeProgram(bin.path(), QStringLiteral("galculator"));
        qputenv("PATH", QFile::encodeName(bin.path()));
        ToTray();
        MenuItem("N5")->trigger();
        QTRY_VERIFY(QFile::exists(bin.path() + QStringLiteral("/galculator.started")));
        QVERIFY(Tray()->isVisible());
    }

    void noCalculatorSaysNothing() {
        QTemporaryDir empty;
        qputenv("PATH", QFile::encodeName(empty.path()));
        testsupport::MessageLog messages;
        QVERIFY(FindCalculator().isEmpty());
        Button("Button4")->click();
        QTest::qWait(50);
        QVERIFY(messages.requests.isEmpty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(form_->isVisible());
    }

    void exitEndsTheProgram_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("exit button") << "Button1";
        QTest::newRow("close box") << "close";
        QTest::newRow("exit item from the tray") << "N3";
    }

    void exitEndsTheProgram() {
        QFETCH(QString, way);
        QPointer<QWidget> note = new TForm35;
        note->show();
        if (way == QLatin1String("N3")) {
            ToTray();
        }
        TForm1* form = form_.get();
        const bool ended = ProgramEndsAfter([this, form, way] {
            if (way == QLatin1String("escape")) {
                QTest::keyClick(form, Qt::Key_Escape);
            } else if (way == QLatin1String("close")) {
                form->close();
            } else if (way == QLatin1String("N3")) {
                MenuItem(way)->trigger();
            } else {
                QTest::mouseClick(Button(way), Qt::LeftButton);
            }
        });
        QVERIFY(ended);
        QVERIFY(!form_->isVisible());
        QVERIFY(!Tray()->isVisible());
        QVERIFY(note.isNull());
    }

    void closingAModalWindowFromTheTrayKeepsTheProgramRunning() {
        ToTray();
        bool ended = true;
        QTimer::singleShot(0, [this, &ended] {
            SeenWhileOpen seen;
            const auto modal =
                CloseNextModal(QStringLiteral("TForm65"), &seen, form_.get(), Tray());
            MenuItem("N4")->trigger();
            // The last visible window has just closed; the program goes on.
            // The expectation checks itself as this lambda ends.
            QTimer::singleShot(100, [&ended] {
                ended = false;
                QCoreApplication::exit(0);
            });
        });
        QApplication::exec();
        QVERIFY(!ended);
        QVERIFY(Tray()->isVisible());
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
