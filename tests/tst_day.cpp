// A day opened from the month grid: its task table and its notes, driven
// through the real windows over a real database.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTest>
#include <functional>
#include <memory>

#include "TestSupport.h"
#include "app/Unit1.h"
#include "calendar/MonthCalendar.h"
#include "core/AppGlobals.h"
#include "day/Unit2.h"
#include "day/Unit4.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "store/Schema.h"
#include "widgets/DBEdit.h"
#include "widgets/DBMemo.h"
#include "widgets/DBNavigator.h"
#include "widgets/Messages.h"

using namespace testsupport;

namespace {

enum class CloseBy { ExitButton, Escape, CloseBox };

// 10 March 2008 is today in every test; March 2008 starts on a Saturday.
const QDate kToday(2008, 3, 10);

QVariant StoredSlot(const QString& isoDate, int slot) {
    return StoredValue(QStringLiteral("SELECT %1 FROM RANTEBOU WHERE HMEROMHNIA=?")
                           .arg(store::QuoteIdentifier(store::SlotColumns().at(slot - 1))),
                       {isoDate});
}

int RowsOf(const QString& table, const QString& isoDate) {
    return StoredValue(QStringLiteral("SELECT count(*) FROM %1 WHERE HMEROMHNIA=?").arg(table),
                       {isoDate})
        .toInt();
}

void StoreSlots(const QString& isoDate, const QStringList& texts) {
    ExecuteStored(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(?)"), {isoDate});
    for (int slot = 1; slot <= texts.size(); ++slot) {
        ExecuteStored(QStringLiteral("UPDATE RANTEBOU SET %1=? WHERE HMEROMHNIA=?")
                          .arg(store::QuoteIdentifier(store::SlotColumns().at(slot - 1))),
                      {texts.at(slot - 1), isoDate});
    }
}

QLabel* DayLabel(QWidget* form, int day) {
    for (int cell = 1; cell <= MonthCalendar::kDayCells; ++cell) {
        auto* label = form->findChild<QLabel*>(QStringLiteral("LabelD%1").arg(cell));
        if (label->text() == QString::number(day)) {
            return label;
        }
    }
    return nullptr;
}

QString MarkerOfDay(QWidget* form, int day) {
    const QString cell = DayLabel(form, day)->objectName().mid(6);
    return form->findChild<QLabel*>(QStringLiteral("LabelR") + cell)->text();
}

widgets::DBEdit* Slot(QWidget* table, int slot) {
    return table->findChild<widgets::DBEdit*>(QStringLiteral("DBEdit%1").arg(slot));
}

widgets::DBMemo* Memo(QWidget* notes) {
    return notes->findChild<widgets::DBMemo*>(QStringLiteral("DBMemo1"));
}

QAbstractButton* PostButton(QWidget* window) {
    return window->findChild<widgets::DBNavigator*>(QStringLiteral("DBNavigator1"))
        ->button(widgets::NavigatorButton::Post);
}

// Opens the day's notes from its task table and acts in them.
void OpenNotes(QWidget* table, std::function<void(TForm4*)> act,
               std::source_location where = std::source_location::current()) {
    const auto notes = AnswerNextWindow<TForm4>(std::move(act), kModalTimeoutMs, where);
    Click(table, "Button1");
    VERIFY_MODAL(notes);
}

void CloseWindow(QWidget* window, CloseBy how) {
    switch (how) {
        case CloseBy::ExitButton:
            Click(window, "Button29");
            break;
        case CloseBy::Escape:
            QTest::keyClick(window, Qt::Key_Escape);
            break;
        case CloseBy::CloseBox:
            window->close();
            break;
    }
}

}  // namespace

class TestDay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void windowLayout_data();
    void windowLayout();
    void slotLayout_data();
    void slotLayout();
    void dayClickOpensTheDaysRow_data();
    void dayClickOpensTheDaysRow();
    void repeatedOpeningKeepsOneRowUnchanged();
    void slotEditsAndClosing_data();
    void slotEditsAndClosing();
    void everySlotWritesItsOwnColumn();
    void clearedSlotStopsCounting();
    void tabRunsThroughTheSlotsInOrder();
    void failedDayOpeningLeavesTheMainWindowUp();
    void notesOpenedTwiceKeepOneRow();
    void notesKeepLineBreaksAndDoNotCount();
    void notesClosedWithoutPostKeepTheStoredText();
    void pendingSlotEditsSurviveTheNotes();
    void failedNotesOpeningBringsTheTableBack();

private:
    // Clicks a day of the shown month and acts in its task table.
    void OpenDay(int day, std::function<void(TForm2*)> act,
                 std::source_location where = std::source_location::current());

    std::unique_ptr<testsupport::WorkDir> work_;
    std::unique_ptr<TForm1> main_;
};

void TestDay::init() {
    ResetTestHooks();
    work_ = std::make_unique<testsupport::WorkDir>();
    SetLocalNowForTests(QDateTime(kToday, QTime(12, 0)));
    main_ = std::make_unique<TForm1>(StartupMode::CalendarOnly);
    main_->show();
}

void TestDay::cleanup() {
    main_.reset();
    work_.reset();
    ResetTestHooks();
}

void TestDay::OpenDay(int day, std::function<void(TForm2*)> act, std::source_location where) {
    const auto table = AnswerNextWindow<TForm2>(std::move(act), kModalTimeoutMs, where);
    QLabel* label = DayLabel(main_.get(), day);
    QVERIFY(label != nullptr);
    QTest::mouseClick(label, Qt::LeftButton);
    VERIFY_MODAL(table);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestDay::windowLayout_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("table exit") << "TForm2"
                                << "Button29"
                                << "Έ&ξοδος" << QRect(8, 648, 75, 25);
    QTest::newRow("table notes") << "TForm2"
                                 << "Button1"
                                 << "Σημειώσεις η&μέρας" << QRect(845, 648, 129, 25);
    QTest::newRow("table navigator") << "TForm2"
                                     << "DBNavigator1" << QString() << QRect(450, 647, 75, 25);
    QTest::newRow("notes exit") << "TForm4"
                                << "Button29"
                                << "Έ&ξοδος" << QRect(8, 648, 75, 25);
    QTest::newRow("notes navigator") << "TForm4"
                                     << "DBNavigator1" << QString() << QRect(899, 647, 75, 25);
    QTest::newRow("notes memo") << "TForm4"
                                << "DBMemo1" << QString() << QRect(8, 38, 966, 595);
}

void TestDay::windowLayout() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    std::unique_ptr<QDialog> form;
    if (window == QLatin1String("TForm2")) {
        form = std::make_unique<TForm2>();
    } else {
        form = std::make_unique<TForm4>();
    }
    QCOMPARE(form->size(), QSize(982, 689));
    QVERIFY(!form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(form->findChild<QLabel*>(QStringLiteral("Label83"))->pos(), QPoint(450, 14));
    auto* control = form->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->geometry(), geometry);
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY(!(button->focusPolicy() & Qt::TabFocus));
    }
    if (auto* navigator = qobject_cast<widgets::DBNavigator*>(control)) {
        const auto shown = navigator->findChildren<QAbstractButton*>();
        int visible = 0;
        for (QAbstractButton* button : shown) {
            visible += button->isVisibleTo(navigator) ? 1 : 0;
        }
        QCOMPARE(visible, 1);
        QVERIFY(PostButton(form.get())->isVisibleTo(navigator));
    }
}

void TestDay::slotLayout_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QPoint>("panelAt");
    QTest::addColumn<QPoint>("fieldAt");
    const int tops[] = {16, 56, 96, 136, 176, 216, 256, 296, 336, 376, 416, 456, 494, 534};
    for (int slot = 1; slot <= 28; ++slot) {
        const int start = 8 * 60 + 30 * (slot - 1);
        const int end = start + 30;
        const QTime from(start / 60, start % 60);
        const QTime to(end / 60, end % 60);
        const bool left = slot <= 14;
        const int top = tops[(slot - 1) % 14];
        QTest::addRow("slot %d", slot)
            << slot
            << from.toString(QStringLiteral("hh:mm")) + QStringLiteral(" - ") +
                   to.toString(QStringLiteral("hh:mm"))
            << from.toString(QStringLiteral("hhmm")) + QLatin1Char('-') +
                   to.toString(QStringLiteral("hhmm"))
            << QPoint(left ? 16 : 485, top) << QPoint(left ? 135 : 605, top + 5);
    }
}

void TestDay::slotLayout() {
    QFETCH(int, slot);
    QFETCH(QString, caption);
    QFETCH(QString, column);
    QFETCH(QPoint, panelAt);
    QFETCH(QPoint, fieldAt);
    TForm2 table;
    auto* panel = table.findChild<QLabel*>(QStringLiteral("Panel%1").arg(slot));
    QVERIFY(panel != nullptr);
    QCOMPARE(panel->text(), caption);
    QCOMPARE(panel->geometry(), QRect(panelAt, QSize(105, 25)));
    widgets::DBEdit* field = Slot(&table, slot);
    QCOMPARE(field->dataField(), column);
    QCOMPARE(field->geometry(), QRect(fieldAt, QSize(340, 17)));
    QCOMPARE(field->palette().color(QPalette::Base), QColor(192, 220, 192));
    auto* scrollBox = table.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
    QVERIFY(scrollBox->isAncestorOf(field));
    QCOMPARE(scrollBox->geometry(), QRect(8, 49, 965, 577));
}

void TestDay::dayClickOpensTheDaysRow_data() {
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("isoDate");
    QTest::newRow("first") << 1 << "1/3/2008"
                           << "#3/1/2008#"
                           << "2008-03-01";
    QTest::newRow("5 March") << 5 << "5/3/2008"
                             << "#3/5/2008#"
                             << "2008-03-05";
    QTest::newRow("saturday") << 8 << "8/3/2008"
                              << "#3/8/2008#"
                              << "2008-03-08";
    QTest::newRow("today") << 10 << "10/3/2008"
                           << "#3/10/2008#"
                           << "2008-03-10";
    QTest::newRow("last, week row 6") << 31 << "31/3/2008"
                                      << "#3/31/2008#"
                                      << "2008-03-31";
}

void TestDay::dayClickOpensTheDaysRow() {
    QFETCH(int, day);
    QFETCH(QString, caption);
    QFETCH(QString, literal);
    QFETCH(QString, isoDate);
    StoreSlots(isoDate, {QStringLiteral("Οδοντίατρος")});
    StoreSlots(QDate::fromString(isoDate, Qt::ISODate).addDays(1).toString(Qt::ISODate),
               {QStringLiteral("next day")});

    OpenDay(day, [&](TForm2* table) {
        QVERIFY(!main_->isVisible());
        QCOMPARE(table->windowTitle(), QStringLiteral("Πίνακας εργασιών της ημέρας"));
        QCOMPARE(table->findChild<QLabel*>(QStringLiteral("Label83"))->text(), caption);
        QCOMPARE(app().SelectedDay, day);
        QCOMPARE(app().SelectedDateLiteral, literal);
        QCOMPARE(Slot(table, 1)->dataSource()->dataSet()->recordCount(), 1);
        QCOMPARE(Slot(table, 1)->dataSource()->dataSet()->asString(QStringLiteral("HMEROMHNIA")),
                 isoDate);
        QCOMPARE(Slot(table, 1)->text(), QStringLiteral("Οδοντίατρος"));
        QCOMPARE(Slot(table, 28)->maxLength(), store::kShortTextLength);
        QVERIFY(!PostButton(table)->isEnabled());
    });
    QVERIFY(main_->isVisible());
    QCOMPARE(RowsOf(QStringLiteral("RANTEBOU"), isoDate), 1);
}

void TestDay::repeatedOpeningKeepsOneRowUnchanged() {
    const QString date = QStringLiteral("2008-03-05");
    OpenDay(5, [](TForm2*) {});
    QCOMPARE(RowsOf(QStringLiteral("RANTEBOU"), date), 1);
    QCOMPARE(MarkerOfDay(main_.get(), 5), QString());

    OpenDay(5, [](TForm2* table) {
        testsupport::TypeText(Slot(table, 3), QStringLiteral("Τράπεζα"));
        QTest::mouseClick(PostButton(table), Qt::LeftButton);
    });
    OpenDay(5, [](TForm2* table) { QCOMPARE(Slot(table, 3)->text(), QStringLiteral("Τράπεζα")); });
    QCOMPARE(RowsOf(QStringLiteral("RANTEBOU"), date), 1);
    QCOMPARE(StoredSlot(date, 3).toString(), QStringLiteral("Τράπεζα"));
}

void TestDay::slotEditsAndClosing_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("post");
    QTest::addColumn<CloseBy>("closeBy");
    QTest::newRow("08:00 posted, exit button") << 1 << true << CloseBy::ExitButton;
    QTest::newRow("08:00 posted, escape") << 1 << true << CloseBy::Escape;
    QTest::newRow("21:30 posted, close box") << 28 << true << CloseBy::CloseBox;
    QTest::newRow("08:00 not posted, exit button") << 1 << false << CloseBy::ExitButton;
    QTest::newRow("12:00 not posted, escape") << 9 << false << CloseBy::Escape;
    QTest::newRow("21:30 not posted, close box") << 28 << false << CloseBy::CloseBox;
}

void TestDay::slotEditsAndClosing() {
    QFETCH(int, slot);
    QFETCH(bool, post);
    QFETCH(CloseBy, closeBy);
    const QString text = QStringLiteral("Συνάντηση με Ε. Π.");
    bool closed = false;
    OpenDay(5, [&](TForm2* table) {
        testsupport::TypeText(Slot(table, slot), text);
        QVERIFY(PostButton(table)->isEnabled());
        if (post) {
            QTest::mouseClick(PostButton(table), Qt::LeftButton);
            QVERIFY(!PostButton(table)->isEnabled());
        }
        CloseWindow(table, closeBy);
        closed = !table->isVisible();
    });
    QVERIFY(closed);
    QCOMPARE(MarkerOfDay(main_.get(), 5), post ? QStringLiteral("1") : QString());
    QCOMPARE(StoredSlot(QStringLiteral("2008-03-05"), slot), post ? QVariant(text) : QVariant());
    QCOMPARE(MarkerOfDay(main_.get(), 4), QString());
}

void TestDay::everySlotWritesItsOwnColumn() {
    OpenDay(20, [](TForm2* table) {
        for (int slot = 1; slot <= TForm2::kSlots; ++slot) {
            testsupport::TypeText(Slot(table, slot), QStringLiteral("θέση %1").arg(slot));
        }
        QTest::mouseClick(PostButton(table), Qt::LeftButton);
    });
    for (int slot = 1; slot <= TForm2::kSlots; ++slot) {
        QCOMPARE(StoredSlot(QStringLiteral("2008-03-20"), slot).toString(),
                 QStringLiteral("θέση %1").arg(slot));
    }
    QCOMPARE(MarkerOfDay(main_.get(), 20), QStringLiteral("28"));
}

void TestDay::clearedSlotStopsCounting() {
    StoreSlots(QStringLiteral("2008-03-12"), {QStringLiteral("a"), QStringLiteral("b")});
    main_->Calendar()->RefreshDayMarkers();
    QCOMPARE(MarkerOfDay(main_.get(), 12), QStringLiteral("2"));
    OpenDay(12, [](TForm2* table) {
        widgets::DBEdit* second = Slot(table, 2);
        second->setFocus();
        QTest::keyClick(second, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(second, Qt::Key_Delete);
        QTest::mouseClick(PostButton(table), Qt::LeftButton);
    });
    QCOMPARE(MarkerOfDay(main_.get(), 12), QStringLiteral("1"));
    QVERIFY(StoredSlot(QStringLiteral("2008-03-12"), 2).toString().isEmpty());
}

void TestDay::tabRunsThroughTheSlotsInOrder() {
    OpenDay(5, [](TForm2* table) {
        // The table opens ready for typing into the first slot.
        QVERIFY(QTest::qWaitForWindowActive(table));
        QCOMPARE(table->focusWidget(), Slot(table, 1));
        for (int slot = 2; slot <= TForm2::kSlots; ++slot) {
            QTest::keyClick(table->focusWidget(), Qt::Key_Tab);
            QCOMPARE(table->focusWidget(), Slot(table, slot));
        }
        QTest::keyClick(table->focusWidget(), Qt::Key_Tab);
        QCOMPARE(table->focusWidget(), Slot(table, 1));
    });
}

void TestDay::failedDayOpeningLeavesTheMainWindowUp() {
    QVERIFY(QFile::remove(work_->databasePath()));
    MessageLog messages;
    QTest::mouseClick(DayLabel(main_.get(), 5), Qt::LeftButton);
    QCOMPARE(messages.requests.size(), 1);
    QVERIFY(main_->isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(QApplication::topLevelWidgets().count() >= 1);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QVERIFY(qobject_cast<TForm2*>(window) == nullptr);
    }
}

void TestDay::notesOpenedTwiceKeepOneRow() {
    int opened = 0;
    OpenDay(5, [&opened](TForm2* table) {
        for (int round = 0; round < 2; ++round) {
            OpenNotes(table, [&opened, table](TForm4* notes) {
                ++opened;
                QVERIFY(!table->isVisible());
                QCOMPARE(notes->windowTitle(), QStringLiteral("Σημειώσεις ημέρας"));
                QCOMPARE(notes->findChild<QLabel*>(QStringLiteral("Label83"))->text(),
                         QStringLiteral("5/3/2008"));
                QVERIFY(Memo(notes)->toPlainText().isEmpty());
                QCOMPARE(notes->focusWidget(), Memo(notes));
                QCOMPARE(Memo(notes)->dataSource()->dataSet()->recordCount(), 1);
                QCOMPARE(Memo(notes)->dataSource()->dataSet()->asString(0),
                         QStringLiteral("2008-03-05"));
            });
            QVERIFY(table->isVisible());
        }
    });
    QCOMPARE(opened, 2);
    QCOMPARE(RowsOf(QStringLiteral("SHMEIWSEIS"), QStringLiteral("2008-03-05")), 1);
}

void TestDay::notesKeepLineBreaksAndDoNotCount() {
    const auto typeLines = [](TForm4* notes) {
        widgets::DBMemo* memo = Memo(notes);
        memo->setFocus();
        testsupport::TypeText(memo, QStringLiteral("Πρώτη γραμμή"));
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClick(memo, Qt::Key_Return);
        testsupport::TypeText(memo, QStringLiteral("third line"));
        QTest::mouseClick(PostButton(notes), Qt::LeftButton);
        CloseWindow(notes, CloseBy::ExitButton);
    };
    const QString expected = QStringLiteral("Πρώτη γραμμή\n\nthird line");
    QString reread;
    OpenDay(7, [&](TForm2* table) {
        OpenNotes(table, typeLines);
        OpenNotes(table, [&reread](TForm4* notes) { reread = Memo(notes)->toPlainText(); });
    });
    QCOMPARE(reread, expected);
    QCOMPARE(StoredValue(QStringLiteral("SELECT KEIMENO FROM SHMEIWSEIS WHERE HMEROMHNIA=?"),
                         {QStringLiteral("2008-03-07")})
                 .toString()
                 .split(QRegularExpression(QStringLiteral("\r?\n"))),
             expected.split(QLatin1Char('\n')));
    QCOMPARE(MarkerOfDay(main_.get(), 7), QString());
}

void TestDay::notesClosedWithoutPostKeepTheStoredText() {
    OpenDay(5, [](TForm2* table) {
        OpenNotes(table, [](TForm4* notes) {
            testsupport::TypeText(Memo(notes), QStringLiteral("κρατημένο"));
            QTest::mouseClick(PostButton(notes), Qt::LeftButton);
        });
        OpenNotes(table, [](TForm4* notes) {
            testsupport::TypeText(Memo(notes), QStringLiteral(" και χαμένο"));
            QVERIFY(PostButton(notes)->isEnabled());
            CloseWindow(notes, CloseBy::Escape);
        });
    });
    QCOMPARE(StoredValue(QStringLiteral("SELECT KEIMENO FROM SHMEIWSEIS WHERE HMEROMHNIA=?"),
                         {QStringLiteral("2008-03-05")})
                 .toString(),
             QStringLiteral("κρατημένο"));
}

void TestDay::pendingSlotEditsSurviveTheNotes() {
    OpenDay(5, [](TForm2* table) {
        testsupport::TypeText(Slot(table, 4), QStringLiteral("εκκρεμές"));
        OpenNotes(table, [](TForm4*) {});
        QVERIFY(table->isVisible());
        QCOMPARE(Slot(table, 4)->text(), QStringLiteral("εκκρεμές"));
        QVERIFY(StoredSlot(QStringLiteral("2008-03-05"), 4).isNull());
        QVERIFY(PostButton(table)->isEnabled());
        QTest::mouseClick(PostButton(table), Qt::LeftButton);
    });
    QCOMPARE(StoredSlot(QStringLiteral("2008-03-05"), 4).toString(), QStringLiteral("εκκρεμές"));
    QCOMPARE(MarkerOfDay(main_.get(), 5), QStringLiteral("1"));
}

void TestDay::failedNotesOpeningBringsTheTableBack() {
    MessageLog messages;
    bool stillPostable = false;
    OpenDay(5, [&](TForm2* table) {
        testsupport::TypeText(Slot(table, 1), QStringLiteral("μη χαθείς"));
        const QString working = app().AppConnectionString;
        app().AppConnectionString = store::BuildConnectionString(work_->path() + "/missing");
        Click(table, "Button1");
        app().AppConnectionString = working;
        QVERIFY(table->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), table);
        stillPostable = PostButton(table)->isEnabled();
        QTest::mouseClick(PostButton(table), Qt::LeftButton);
    });
    QCOMPARE(messages.requests.size(), 1);
    QVERIFY2(messages.texts().first().contains(QStringLiteral("missing")),
             qPrintable(messages.texts().first()));
    QVERIFY(stillPostable);
    QCOMPARE(StoredSlot(QStringLiteral("2008-03-05"), 1).toString(), QStringLiteral("μη χαθείς"));
}

QTEST_MAIN(TestDay)
#include "tst_day.moc"
