// Every window through the eyes of a screen reader and the hands of a person
// without a mouse: what QAccessible says of each input, and where Tab,
// Shift+Tab, Enter and Escape lead.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "TestSupport.h"
#include "access/Unit165.h"
#include "access/Unit17.h"
#include "access/Unit27.h"
#include "app/Unit1.h"
#include "app/Unit62.h"
#include "calc/Unit65.h"
#include "contacts/Unit10.h"
#include "core/AppGlobals.h"
#include "day/Unit2.h"
#include "day/Unit4.h"
#include "expenses/Unit13.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "expenses/Unit5.h"
#include "notebook/Unit6.h"
#include "notebook/Unit7.h"
#include "sticky/Unit35.h"
#include "store/Command.h"
#include "widgets/DBGrid.h"

namespace {

using WindowMaker = std::function<std::unique_ptr<QWidget>()>;

const QString kDayText = QStringLiteral("15/12/2026");
const QString kIsoDay = QStringLiteral("2026-12-15");

// Each window as its caller prepares it.
std::unique_ptr<QWidget> MakeWindow(const QString& name) {
    if (name == QLatin1String("TForm1")) {
        app().TodayYear = 2026;
        app().TodayMonth = 12;
        app().TodayDay = 15;
        return std::make_unique<TForm1>(StartupMode::CalendarOnly);
    }
    if (name == QLatin1String("TForm2")) {
        auto table = std::make_unique<TForm2>();
        table->OpenDay(kDayText, kIsoDay);
        return table;
    }
    if (name == QLatin1String("TForm4")) {
        auto notes = std::make_unique<TForm4>();
        notes->OpenDay(kDayText, kIsoDay);
        return notes;
    }
    const QMap<QString, WindowMaker> plain = {
        {"TForm5", [] { return std::make_unique<TForm5>(); }},
        {"TForm6", [] { return std::make_unique<TForm6>(); }},
        {"TForm7", [] { return std::make_unique<TForm7>(); }},
        {"TForm10", [] { return std::make_unique<TForm10>(); }},
        {"TForm13", [] { return std::make_unique<TForm13>(); }},
        {"TForm14", [] { return std::make_unique<TForm14>(); }},
        {"TForm15", [] { return std::make_unique<TForm15>(); }},
        {"TForm17", [] { return std::make_unique<TForm17>(); }},
        {"TForm27", [] { return std::make_unique<TForm27>(); }},
        {"TForm35", [] { return std::make_unique<TForm35>(); }},
        {"TForm62", [] { return std::make_unique<TForm62>(); }},
        {"TForm65", [] { return std::make_unique<TForm65>(); }},
        {"TForm165", [] { return std::make_unique<TForm165>(); }},
    };
    return plain.value(name)();
}

// The inputs a person can reach: every shown control that takes the focus
// itself (a control that hands it to another is that other one).
QList<QWidget*> Inputs(QWidget* window) {
    QList<QWidget*> inputs;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->focusPolicy() != Qt::NoFocus && widget->focusProxy() == nullptr &&
            widget->isVisibleTo(window)) {
            inputs.append(widget);
        }
    }
    return inputs;
}

// What a screen reader learns of a grid's columns.
QString ColumnTitles(QAccessibleInterface* grid) {
    QStringList titles;
    QAccessibleTableInterface* table = grid->tableInterface();
    for (int column = 0; table != nullptr && column < table->columnCount(); ++column) {
        titles.append(table->columnDescription(column));
    }
    return titles.join(QStringLiteral(", "));
}

// On Linux a list's name is its entry, and the label beside it is told
// through the label relation: the label's text when it has one, else the
// name it was given.
QString SpokenName(QAccessibleInterface* face) {
    if (face->role() != QAccessible::ComboBox) {
        return face->text(QAccessible::Name);
    }
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? face->object()->property("accessibleName").toString()
                            : labels.first().first->text(QAccessible::Name);
}

const QList<QAccessible::Role> kInputRoles = {
    QAccessible::EditableText, QAccessible::Button, QAccessible::ComboBox,
    QAccessible::SpinBox,      QAccessible::Table,
};

QWidget* Focused() {
    return QApplication::focusWidget();
}

QString FocusedName() {
    return Focused() != nullptr ? Focused()->objectName() : QString();
}

// Presses key count times, each in the control that has the focus then, and
// names the controls the focus lands on.
QStringList Walk(Qt::Key key, int count) {
    QStringList names;
    for (int i = 0; i < count && Focused() != nullptr; ++i) {
        QTest::keyClick(Focused(), key);
        names.append(FocusedName());
    }
    return names;
}

// Types each text into a box, the next box reached by Tab, as a person
// would; Enter at the end, and back to the first box.
void TypeByKeyboard(const QStringList& texts, bool enter) {
    for (int i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(Focused(), Qt::Key_Tab);
        }
        testsupport::TypeText(Focused(), texts.at(i));
    }
    if (enter) {
        QTest::keyClick(Focused(), Qt::Key_Return);
        QTest::keyClick(Focused(), Qt::Key_Backtab);
    }
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void everyInputHasANameAndARole_data();
    void everyInputHasANameAndARole();
    void keyboardWalksEveryWindow_data();
    void keyboardWalksEveryWindow();
    void daysAreReachedAndOpenedByKeyboard();

private:
    std::unique_ptr<testsupport::WorkDir> work_;
};

void TestAccessibility::init() {
    testsupport::ResetTestHooks();
    work_ = std::make_unique<testsupport::WorkDir>();
    // Two tasks on the day the day windows open, an expense of 2007 for the
    // searches, a note and a contact for the record windows.
    testsupport::ExecuteStored(
        QStringLiteral("INSERT INTO RANTEBOU (HMEROMHNIA, \"0800-0830\", \"0930-1000\") "
                       "VALUES (?, 'α', 'β')"),
        {kIsoDay});
    testsupport::ExecuteStored(
        QStringLiteral("INSERT INTO SHMEIWSEIS (HMEROMHNIA, KEIMENO) VALUES (?, 'σημείωση')"),
        {kIsoDay});
    testsupport::ExecuteStored(
        QStringLiteral("INSERT INTO EKSODA VALUES ('2007-03-05', 1250, 288, 'Ψώνια'), "
                       "('2007-04-05', 700, 161, 'Ρεύμα')"));
    testsupport::ExecuteStored(
        QStringLiteral("INSERT INTO NOTES (TITLOS, PERIGRAFH) VALUES ('Λίστα', 'γάλα')"));
    testsupport::ExecuteStored(
        QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO) VALUES ('Νίκος')"));
}

void TestAccessibility::cleanup() {
    testsupport::ResetTestHooks();
    work_.reset();
}

void TestAccessibility::everyInputHasANameAndARole_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("spoken");
    const QString searchTitles =
        QStringLiteral("Περιγραφή, Ημερομηνία, Αξία (EUR), Φ.Π.Α (EUR), Αξία + Φ.Π.Α (EUR)");
    QTest::newRow("TForm1") << "TForm1"
                            << QStringList{"LabelD16=Τρίτη 15 Δεκεμβρίου 2026, 2 εργασίες",
                                           "LabelD2=Τρίτη 1 Δεκεμβρίου 2026, καμία εργασία",
                                           "ComboBox1=Μήνας:", "ComboBox2=Έτος:"};
    QTest::newRow("TForm2") << "TForm2"
                            << QStringList{"DBEdit1=08:00", "DBEdit4=09:30", "DBEdit28=21:30",
                                           "nbPost=Post edit"};
    QTest::newRow("TForm4") << "TForm4" << QStringList{"DBMemo1=Σημειώσεις ημέρας 15/12/2026"};
    QTest::newRow("TForm5") << "TForm5" << QStringList{"Button2=Αναλυτική έρευνα"};
    QTest::newRow("TForm6") << "TForm6"
                            << QStringList{"DBEdit1=Τίτλος:", "DBMemo1=Περιγραφή:",
                                           "DBGrid1=Τίτλος", "nbInsert=Insert record"};
    QTest::newRow("TForm7") << "TForm7" << QStringList{"Button1=Εκτύπωση όλων"};
    QTest::newRow("TForm10") << "TForm10"
                             << QStringList{
                                    "DBEdit1=Όνοματεπώνυμο:", "DBEdit5=Fax:", "DBEdit7=Περιγραφή:"};
    QTest::newRow("TForm13") << "TForm13"
                             << QStringList{"DBEdit1=Ημερομηνία:", "DBEdit2=Ποσό:",
                                            "DBEdit3=Φ.Π.Α:", "DBEdit4=Περιγραφή:"};
    QTest::newRow("TForm14") << "TForm14"
                             << QStringList{"Edit1=Από:", "Edit2=Μέχρι:", "DBGrid1=" + searchTitles,
                                            "nbLast=Last record"};
    QTest::newRow("TForm15") << "TForm15"
                             << QStringList{"Edit1=Από το έτος:", "Edit2=Μέχρι το έτος:",
                                            "DBGrid1=Μήνας, Έτος, Αξία (EUR), Φ.Π.Α (EUR), "
                                            "Αξία +Φ.Π.Α (EUR)"};
    QTest::newRow("TForm17") << "TForm17"
                             << QStringList{"Edit1=Όρισε Password:", "Edit2=Επιβεβαίωση:"};
    QTest::newRow("TForm27") << "TForm27"
                             << QStringList{"Edit1=Νέο Password:", "Edit2=Επιβεβαίωση:"};
    QTest::newRow("TForm35") << "TForm35" << QStringList{"Memo1=Σημείωση", "ComboBox1=Χρώμα"};
    QTest::newRow("TForm62") << "TForm62" << QStringList{"Button1=OK"};
    QTest::newRow("TForm65") << "TForm65"
                             << QStringList{"qt_calendar_calendarview=Ημερολόγιο",
                                            "SpinEdit1=Το Πάσχα για το έτος:",
                                            "DateTimePicker1=Από:", "DateTimePicker2=Μέχρι:"};
    QTest::newRow("TForm165") << "TForm165" << QStringList{"Edit3=Password:"};
}

// Names are unique within a window: two boxes that say the same (as the
// caption of the group around them would) cannot be told apart by ear.
void TestAccessibility::everyInputHasANameAndARole() {
    QFETCH(QString, window);
    QFETCH(QStringList, spoken);
    std::unique_ptr<QWidget> form = MakeWindow(window);
    form->show();
    QStringList names;
    QStringList heard;
    for (QWidget* input : Inputs(form.get())) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(input);
        QVERIFY2(face != nullptr, qPrintable(input->objectName()));
        const QString name = SpokenName(face);
        QVERIFY2(!name.isEmpty(), qPrintable(input->objectName() + " has no name"));
        QVERIFY2(!names.contains(name), qPrintable(input->objectName() + " repeats " + name));
        QVERIFY2(kInputRoles.contains(face->role()),
                 qPrintable(input->objectName() + " has no role of an input"));
        if (qobject_cast<widgets::DBGrid*>(input) != nullptr) {
            QCOMPARE(name, ColumnTitles(face));
        }
        names.append(name);
        heard.append(input->objectName() + QLatin1Char('=') + name);
    }
    for (const QString& expected : spoken) {
        QVERIFY2(heard.contains(expected), qPrintable(expected));
    }
}

void TestAccessibility::keyboardWalksEveryWindow_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QStringList>("chain");
    QTest::addColumn<QString>("escape");
    QStringList slotFields;
    for (int slot = 1; slot <= 28; ++slot) {
        slotFields.append(QStringLiteral("DBEdit%1").arg(slot));
    }
    QTest::newRow("TForm2") << "TForm2" << QStringList() << false << slotFields << "closes";
    // Alone in its window, the notes box keeps the focus and types no tab.
    QTest::newRow("TForm4: nothing to post")
        << "TForm4" << QStringList() << false << QStringList{"DBMemo1"} << "closes";
    // Post takes the focus once there is something to post.
    QTest::newRow("TForm4") << "TForm4" << QStringList{"γάλα"} << false
                            << QStringList{"DBMemo1", "nbPost"} << "closes";
    QTest::newRow("TForm5") << "TForm5" << QStringList() << false
                            << QStringList{"Button1", "Button2", "Button3", "Button4"} << "closes";
    QTest::newRow("TForm6") << "TForm6" << QStringList() << false
                            << QStringList{"DBEdit1",  "DBMemo1",  "Button2",
                                           "nbInsert", "nbDelete", "Button1"}
                            << "closes";
    QTest::newRow("TForm7") << "TForm7" << QStringList() << false
                            << QStringList{"Button1", "Button2", "Button3"} << "closes";
    QTest::newRow("TForm10") << "TForm10" << QStringList() << false
                             << QStringList{"DBEdit1", "DBEdit2", "DBEdit3", "DBEdit4",  "DBEdit5",
                                            "DBEdit6", "DBEdit7", "Button1", "nbInsert", "nbDelete"}
                             << "closes";
    QTest::newRow("TForm13") << "TForm13" << QStringList() << false
                             << QStringList{"DBEdit1", "DBEdit2", "DBEdit3",  "DBEdit4", "Button1",
                                            "nbNext",  "nbLast",  "nbInsert", "nbDelete"}
                             << "closes";
    // Enter in the second box searches; the navigator and printing follow.
    QTest::newRow("TForm14") << "TForm14" << QStringList{"01/01/2007", "31/12/2007"} << true
                             << QStringList{"Edit1",  "Edit2",   "Button1", "nbNext",
                                            "nbLast", "Button3", "Button2"}
                             << "closes";
    QTest::newRow("TForm15") << "TForm15" << QStringList{"2007", "2007"} << true
                             << QStringList{"Edit1",  "Edit2",   "Button1", "nbNext",
                                            "nbLast", "Button3", "Button2"}
                             << "closes";
    QTest::newRow("TForm17: no way out but a saved password")
        << "TForm17" << QStringList() << false << QStringList{"Edit1", "Edit2"} << "stays";
    QTest::newRow("TForm27") << "TForm27" << QStringList() << false << QStringList{"Edit1", "Edit2"}
                             << "closes";
    QTest::newRow("TForm35") << "TForm35" << QStringList() << false
                             << QStringList{"Memo1", "ComboBox1"} << QString();
    QTest::newRow("TForm62") << "TForm62" << QStringList() << false << QStringList{"Button1"}
                             << "closes";
    QTest::newRow("TForm65")
        << "TForm65" << QStringList() << false
        << QStringList{"qt_calendar_calendarview", "SpinEdit1",       "DateTimePicker1",
                       "DateTimePicker1",          "DateTimePicker1", "DateTimePicker2",
                       "DateTimePicker2",          "DateTimePicker2", "Button1"}
        << "closes";
    QTest::newRow("TForm165") << "TForm165" << QStringList() << false << QStringList{"Edit3"}
                              << "closes";
}

// From the control that has the focus when the window opens, Tab runs the
// chain and comes back to its start, Shift+Tab runs it backwards, and
// Escape closes the window that has a cancel button.
void TestAccessibility::keyboardWalksEveryWindow() {
    QFETCH(QString, window);
    QFETCH(QStringList, typed);
    QFETCH(bool, enter);
    QFETCH(QStringList, chain);
    QFETCH(QString, escape);
    testsupport::MessageLog messages;
    std::unique_ptr<QWidget> form = MakeWindow(window);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    TypeByKeyboard(typed, enter);
    QCOMPARE(FocusedName(), chain.first());
    QCOMPARE(Walk(Qt::Key_Tab, int(chain.size())), chain.mid(1) + chain.mid(0, 1));
    QStringList backwards(chain.rbegin(), chain.rend());
    QCOMPARE(Walk(Qt::Key_Backtab, int(chain.size())), backwards);
    if (!escape.isEmpty()) {
        QTest::keyClick(Focused(), Qt::Key_Escape);
        QCOMPARE(form->isVisible(), escape == QLatin1String("stays"));
    }
    QCOMPARE(messages.texts(), QStringList());
}

// The days take the focus in their order; the arrows move by a day and a
// week, Page Down to the next month, the menu key offers the commands, and
// Enter opens the day in focus.
void TestAccessibility::daysAreReachedAndOpenedByKeyboard() {
    std::unique_ptr<QWidget> form = MakeWindow(QStringLiteral("TForm1"));
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QCOMPARE(FocusedName(), QStringLiteral("LabelD2"));
    QCOMPARE(Walk(Qt::Key_Tab, 2), (QStringList{"LabelD3", "LabelD4"}));
    QCOMPARE(Walk(Qt::Key_Backtab, 1), QStringList{"LabelD3"});
    QCOMPARE(Walk(Qt::Key_Down, 2), (QStringList{"LabelD10", "LabelD17"}));
    QCOMPARE(Walk(Qt::Key_Left, 1), QStringList{"LabelD16"});
    QCOMPARE(Focused()->accessibleName(), QStringLiteral("Τρίτη 15 Δεκεμβρίου 2026, 2 εργασίες"));
    QCOMPARE(Walk(Qt::Key_PageDown, 1), QStringList{"LabelD19"});
    QCOMPARE(Focused()->accessibleName(),
             QStringLiteral("Παρασκευή 15 Ιανουαρίου 2027, καμία εργασία"));
    QCOMPARE(Walk(Qt::Key_PageUp, 1), QStringList{"LabelD16"});
    QStringList offered;
    QTimer::singleShot(100, [&offered] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions()) {
                offered.append(action->text());
            }
            menu->close();
        }
    });
    QTest::keyClick(Focused(), Qt::Key_Menu);
    QCOMPARE(offered,
             (QStringList{"Α&ριθμομηχανή", "Η&μερολογιακά", "Έξο&δα", "Ε&παφές",
                          "Βιβλίο &σημειώσεων", "Sticky notes", "Minimize on &notification area",
                          "Αλλαγή password", "About", "Έ&ξοδος"}));
    auto table = testsupport::AnswerNextWindow<TForm2>([](TForm2* day) {
        QCOMPARE(day->findChild<QWidget*>(QStringLiteral("DBEdit1"))->property("text"),
                 QVariant(QStringLiteral("α")));
    });
    QTest::keyClick(Focused(), Qt::Key_Return);
    VERIFY_MODAL(table);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
