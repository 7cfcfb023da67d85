// The expenses menu and register against a real database file: what is
// refused and kept, what is stored exactly, the order of the rows, deleting,
// closing in the middle of an edit, and the menu giving way to its windows.
#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <memory>

#include "TestSupport.h"
#include "app/Windows.h"
#include "core/AppGlobals.h"
#include "expenses/Unit13.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "expenses/Unit5.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/Messages.h"
#include "widgets/ModalLoop.h"

using widgets::Answer;
using widgets::MessageRequest;

namespace {

// The two stored expenses every test starts from, as the grid lists them:
// newest first.
const QStringList kStoredRows = {"2007-03-05|1250|-5|Ψώνια", "2006-01-01|4000|920|Ρεύμα"};

// Types text; "." stands for the keypad's decimal key.
void TypeWithKeypad(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        if (ch == QLatin1Char('.')) {
            QTest::keyClick(widget, Qt::Key_Period, Qt::KeypadModifier);
        } else {
            testsupport::TypeText(widget, QString(ch));
        }
    }
}

// Runs act on the first active modal window of the class; the flag stays
// false when none came within five seconds, so the caller's check fails. The
// watch ends with context at the latest.
void WhenModalComes(QObject* context, const QString& className, bool* came,
                    std::function<void(QWidget*)> act) {
    *came = false;
    auto* timer = new QTimer(context);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool found = modal != nullptr && className == modal->metaObject()->className();
        if (!found && (*waited += 10) < 5000) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (found) {
            *came = true;
            act(modal);
        }
    });
    timer->start(10);
}

}  // namespace

class TestExpensesRegister : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void refusedValueKeepsTheTypedRow_data();
    void refusedValueKeepsTheTypedRow();
    void acceptedValueIsStoredExactly_data();
    void acceptedValueIsStoredExactly();
    void amountIsReadTheGreekWay_data();
    void amountIsReadTheGreekWay();
    void closingMidEditKeepsTheStoredRow_data();
    void closingMidEditKeepsTheStoredRow();
    void deleteAsks_data();
    void deleteAsks();
    void emptyTableOpensEmptyAndInsertStartsTheFirstRow();
    void laterDateIsFirstAfterReopening();
    void tabOrder();
    void menuGivesWayToEachWindow_data();
    void menuGivesWayToEachWindow();
    void escapeClosesTheMenu();

private:
    std::unique_ptr<testsupport::WorkDir> work_;
    std::unique_ptr<store::Connection> connection_;
    std::unique_ptr<TForm13> form_;
    QList<MessageRequest> messages_;
    Answer answer_ = Answer::Ok;

    void addExpense(const QString& date, qint64 amount, qint64 vat, const QString& description);
    void addStoredRows();
    QStringList storedRows();
    TForm13* openForm();
    widgets::DBEdit* field(int number) const;
    widgets::DBGrid* grid() const;
    QAbstractButton* navigatorButton(const char* name) const;
    QStringList gridColumn(int column) const;
    void replaceText(int number, const QString& text);
};

void TestExpensesRegister::init() {
    work_ = std::make_unique<testsupport::WorkDir>();
    connection_ = std::make_unique<store::Connection>();
    connection_->reopen(work_->connectionString());
    messages_.clear();
    answer_ = Answer::Ok;
    widgets::SetMessageResponder([this](const MessageRequest& request) {
        messages_.append(request);
        return answer_;
    });
}

void TestExpensesRegister::cleanup() {
    widgets::SetMessageResponder(nullptr);
    RegisterLongLivedWindows({});
    form_.reset();
    connection_.reset();
    work_.reset();
}

void TestExpensesRegister::addExpense(const QString& date, qint64 amount, qint64 vat,
                                      const QString& description) {
    store::Execute(*connection_, QStringLiteral("INSERT INTO EKSODA VALUES (?, ?, ?, ?)"),
                   {date, amount, vat, description});
}

void TestExpensesRegister::addStoredRows() {
    // Oldest first in the file, so that the grid's order is the sort's doing.
    addExpense(QStringLiteral("2006-01-01"), 4000, 920, QStringLiteral("Ρεύμα"));
    addExpense(QStringLiteral("2007-03-05"), 1250, -5, QStringLiteral("Ψώνια"));
}

QStringList TestExpensesRegister::storedRows() {
    store::Query query;
    query.setConnection(connection_.get());
    query.setSql(
        QStringLiteral("SELECT HMEROMHNIA, POSO, VAT, PERIGRAFH FROM EKSODA "
                       "ORDER BY HMEROMHNIA DESC"));
    query.open();
    QStringList rows;
    for (; !query.eof(); query.next()) {
        rows.append(
            QStringList{query.asString(0), query.asString(1), query.asString(2), query.asString(3)}
                .join(QLatin1Char('|')));
    }
    return rows;
}

TForm13* TestExpensesRegister::openForm() {
    form_ = std::make_unique<TForm13>();
    form_->show();
    return form_.get();
}

widgets::DBEdit* TestExpensesRegister::field(int number) const {
    return form_->findChild<widgets::DBEdit*>(QStringLiteral("DBEdit%1").arg(number));
}

widgets::DBGrid* TestExpensesRegister::grid() const {
    return form_->findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"));
}

QAbstractButton* TestExpensesRegister::navigatorButton(const char* name) const {
    return form_->findChild<QAbstractButton*>(QLatin1String(name));
}

QStringList TestExpensesRegister::gridColumn(int column) const {
    QStringList texts;
    for (int row = 0; row < grid()->model()->rowCount(); ++row) {
        texts.append(grid()->model()->index(row, column).data().toString());
    }
    return texts;
}

void TestExpensesRegister::replaceText(int number, const QString& text) {
    field(number)->setFocus();
    field(number)->selectAll();
    QTest::keyClick(field(number), Qt::Key_Delete);
    testsupport::TypeText(field(number), text);
}

void TestExpensesRegister::refusedValueKeepsTheTypedRow_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("leave");
    QTest::addColumn<bool>("newRow");
    QTest::addColumn<QString>("message");
    QTest::newRow("date that does not exist, Post")
        << 1 << "31/02/2007"
        << "Post" << false << "'31/02/2007' is not a valid date.";
    QTest::newRow("letters as a date, Tab") << 1 << "abc"
                                            << "Tab" << false << "'abc' is not a valid date.";
    QTest::newRow("date with dashes, new row, Post")
        << 1 << "5-3-2007"
        << "Post" << true << "'5-3-2007' is not a valid date.";
    QTest::newRow("three decimals, Tab")
        << 2 << "1,234"
        << "Tab" << false << "'1,234' has more than two decimals: amounts are kept in cents.";
    QTest::newRow("three decimals, moving to the next row")
        << 3 << "0,015"
        << "Next" << false << "'0,015' has more than two decimals: amounts are kept in cents.";
    QTest::newRow("one cent beyond the largest amount, new row, Post")
        << 2 << "92233720368547758,08"
        << "Post" << true << "'92233720368547758,08' is too large an amount.";
    QTest::newRow("one cent below the smallest amount, Post")
        << 3 << "-92233720368547758,09"
        << "Post" << false << "'-92233720368547758,09' is too large an amount.";
    QTest::newRow("twenty-five digits, Tab")
        << 2 << "1234567890123456789012345"
        << "Tab" << false << "'1234567890123456789012345' is too large an amount.";
    QTest::newRow("a lone minus, Post") << 3 << "-"
                                        << "Post" << false << "'-' is not a valid amount.";
}

void TestExpensesRegister::refusedValueKeepsTheTypedRow() {
    QFETCH(int, number);
    QFETCH(QString, typed);
    QFETCH(QString, leave);
    QFETCH(bool, newRow);
    QFETCH(QString, message);
    addStoredRows();
    openForm();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    if (newRow) {
        QTest::mouseClick(navigatorButton("nbInsert"), Qt::LeftButton);
    }
    replaceText(4, QStringLiteral("Καφές"));
    replaceText(number, typed);
    if (leave == QLatin1String("Tab")) {
        QTest::keyClick(field(number), Qt::Key_Tab);
    } else {
        QTest::mouseClick(navigatorButton(leave == QLatin1String("Post") ? "nbPost" : "nbNext"),
                          Qt::LeftButton);
    }
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_.first().text, message);
    QCOMPARE(messages_.first().caption, kApplicationTitle);
    QCOMPARE(messages_.first().icon, widgets::MessageIcon::Error);
    QCOMPARE(field(number)->text(), typed);
    QCOMPARE(field(4)->text(), QStringLiteral("Καφές"));
    QVERIFY2(navigatorButton("nbPost")->isEnabled(), "the row is no longer being edited");
    if (leave == QLatin1String("Tab")) {
        QCOMPARE(QApplication::focusWidget(), field(number));
    }
    QCOMPARE(storedRows(), kStoredRows);
}

void TestExpensesRegister::acceptedValueIsStoredExactly_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("leap day") << 1 << "29/02/2008"
                              << "2008-02-29"
                              << "29/02/2008";
    QTest::newRow("single-digit day and month") << 1 << "5/3/2007"
                                                << "2007-03-05"
                                                << "05/03/2007";
    QTest::newRow("two decimals") << 2 << "12,50"
                                  << "1250"
                                  << "12,50";
    QTest::newRow("negative") << 2 << "-3,05"
                              << "-305"
                              << "-3,05";
    QTest::newRow("keypad decimal key") << 2 << "4.75"
                                        << "475"
                                        << "4,75";
    QTest::newRow("one decimal") << 3 << "0,1"
                                 << "10"
                                 << "0,10";
    QTest::newRow("whole euros") << 3 << "7"
                                 << "700"
                                 << "7,00";
    QTest::newRow("largest amount") << 2 << "92233720368547758,07"
                                    << "9223372036854775807"
                                    << "92233720368547758,07";
    QTest::newRow("smallest amount") << 3 << "-92233720368547758,08"
                                     << "-9223372036854775808"
                                     << "-92233720368547758,08";
}

void TestExpensesRegister::acceptedValueIsStoredExactly() {
    QFETCH(int, number);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    addExpense(QStringLiteral("2007-03-05"), 1250, -5, QStringLiteral("Ψώνια"));
    openForm();
    field(number)->setFocus();
    field(number)->selectAll();
    QTest::keyClick(field(number), Qt::Key_Delete);
    TypeWithKeypad(field(number), typed);
    QTest::mouseClick(navigatorButton("nbPost"), Qt::LeftButton);
    QVERIFY(messages_.isEmpty());
    const QString column = field(number)->dataField();
    QCOMPARE(store::ScalarQuery(*connection_, QStringLiteral("SELECT %1 FROM EKSODA").arg(column))
                 .toString(),
             stored);
    QCOMPARE(field(number)->text(), shown);
    const int gridColumnOf[] = {0, 1, 2, 3, 0};
    QCOMPARE(gridColumn(gridColumnOf[number]), QStringList{shown});
}

void TestExpensesRegister::amountIsReadTheGreekWay_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("message");
    const QString comma = QStringLiteral("Η υποδιαστολή είναι το κόμμα");
    QTest::newRow("a point typed is the comma") << "typed"
                                                << "12.50"
                                                << "12,50"
                                                << "1250" << QString() << QString();
    QTest::newRow("the keypad's decimal key") << "keypad"
                                              << "12.50"
                                              << "12,50"
                                              << "1250" << QString() << QString();
    QTest::newRow("one decimal") << "typed"
                                 << "12,5"
                                 << "12,50"
                                 << "1250" << QString() << QString();
    QTest::newRow("a second point refused aloud") << "typed"
                                                  << "12.5.0"
                                                  << "12,50"
                                                  << "1250" << comma << QString();
    QTest::newRow("a letter refused aloud") << "typed"
                                            << "1x2"
                                            << "12,00"
                                            << "1200" << comma << QString();
    QTest::newRow("pasted with thousands") << "pasted"
                                           << "1.234,56"
                                           << "1234,56"
                                           << "123456" << QString() << QString();
    QTest::newRow("pasted with a decimal point") << "pasted"
                                                 << " 12.50 "
                                                 << "12,50"
                                                 << "1250" << QString() << QString();
    QTest::newRow("pasted letters refused whole")
        << "pasted"
        << "abc"
        << "9,99"
        << "999" << QString() << QStringLiteral("Το «abc» δεν είναι ένα ποσό.");
    QTest::newRow("pasted with two points refused whole")
        << "pasted"
        << "12.5.0"
        << "9,99"
        << "999" << QString() << QStringLiteral("Το «12.5.0» δεν είναι ένα ποσό.");
    QTest::newRow("pasted after a comma, refused whole")
        << "pasted after"
        << "3,4"
        << "9,99"
        << "999" << QString() << QStringLiteral("Το «9,993,4» δεν είναι ένα ποσό.");
    QTest::newRow("a third decimal refused at the post")
        << "typed"
        << "0,001"
        << "0,001"
        << "999" << QString()
        << QStringLiteral("'0,001' has more than two decimals: amounts are kept in cents.");
}

// The whole box selected, then typed over or pasted over (or pasted after
// its text), then posted.
void TestExpensesRegister::amountIsReadTheGreekWay() {
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QFETCH(QString, hint);
    QFETCH(QString, message);
    addExpense(QStringLiteral("2007-03-05"), 999, 0, QStringLiteral("Ψώνια"));
    openForm();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QToolTip::hideText();
    field(2)->setFocus();
    field(2)->selectAll();
    if (how == QLatin1String("pasted after")) {
        field(2)->end(false);
    }
    if (how.startsWith(QLatin1String("pasted"))) {
        QGuiApplication::clipboard()->setText(input);
        QTest::keyClick(field(2), Qt::Key_V, Qt::ControlModifier);
    } else if (how == QLatin1String("keypad")) {
        TypeWithKeypad(field(2), input);
    } else {
        testsupport::TypeText(field(2), input);
    }
    QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), hint);
    QTest::mouseClick(navigatorButton("nbPost"), Qt::LeftButton);
    QCOMPARE(messages_.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QVERIFY2(messages_.first().text.startsWith(message), qPrintable(messages_.first().text));
    }
    QCOMPARE(field(2)->text(), shown);
    QCOMPARE(store::ScalarQuery(*connection_, QStringLiteral("SELECT POSO FROM EKSODA")).toString(),
             stored);
}

void TestExpensesRegister::closingMidEditKeepsTheStoredRow_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("date");
    QTest::newRow("Escape") << "Escape"
                            << "";
    QTest::newRow("Escape with a refused date typed") << "Escape"
                                                      << "31/02/2007";
    QTest::newRow("exit button") << "exit button"
                                 << "";
    QTest::newRow("close box") << "close box"
                               << "01/01/2010";
}

void TestExpensesRegister::closingMidEditKeepsTheStoredRow() {
    QFETCH(QString, how);
    QFETCH(QString, date);
    addStoredRows();
    openForm();
    replaceText(2, QStringLiteral("99,99"));
    replaceText(4, QStringLiteral("Αλλαγή"));
    if (!date.isEmpty()) {
        replaceText(1, date);
    }
    if (how == QLatin1String("Escape")) {
        QTest::keyClick(field(4), Qt::Key_Escape);
    } else if (how == QLatin1String("exit button")) {
        QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("Button1")),
                          Qt::LeftButton);
    } else {
        form_->close();
    }
    QVERIFY(!form_->isVisible());
    QVERIFY(messages_.isEmpty());
    QCOMPARE(storedRows(), kStoredRows);
}

void TestExpensesRegister::deleteAsks_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("stored");
    QTest::newRow("navigator, OK on the only row") << "navigator" << Answer::Ok << 1;
    QTest::newRow("navigator, Cancel") << "navigator" << Answer::Cancel << 1;
    QTest::newRow("Ctrl+Delete in the grid, OK on the older row") << "grid" << Answer::Ok << 2;
    QTest::newRow("Ctrl+Delete in the grid, Cancel") << "grid" << Answer::Cancel << 2;
}

void TestExpensesRegister::deleteAsks() {
    QFETCH(QString, how);
    QFETCH(Answer, answer);
    QFETCH(int, stored);
    if (stored == 1) {
        addExpense(QStringLiteral("2007-03-05"), 1250, -5, QStringLiteral("Ψώνια"));
    } else {
        addStoredRows();
    }
    const QStringList before = storedRows();
    openForm();
    answer_ = answer;
    if (how == QLatin1String("navigator")) {
        QTest::mouseClick(navigatorButton("nbDelete"), Qt::LeftButton);
    } else {
        QTest::mouseClick(navigatorButton("nbLast"), Qt::LeftButton);
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Delete, Qt::ControlModifier);
    }
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_.first().text, QStringLiteral("Delete record?"));
    QCOMPARE(messages_.first().buttons, (QList<Answer>{Answer::Ok, Answer::Cancel}));
    const QStringList left = answer == Answer::Ok ? before.mid(0, stored - 1) : before;
    QCOMPARE(storedRows(), left);
    QCOMPARE(grid()->model()->rowCount(), left.size());
    QCOMPARE(navigatorButton("nbDelete")->isEnabled(), !left.isEmpty());
    QCOMPARE(field(4)->text(), left.isEmpty() ? QString() : left.last().section('|', 3));
}

void TestExpensesRegister::emptyTableOpensEmptyAndInsertStartsTheFirstRow() {
    openForm();
    for (int number = 1; number <= 4; ++number) {
        QCOMPARE(field(number)->text(), QString());
    }
    QCOMPARE(grid()->model()->rowCount(), 0);
    for (const char* name : {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbDelete", "nbPost"}) {
        QVERIFY2(!navigatorButton(name)->isEnabled(), name);
    }
    QVERIFY(navigatorButton("nbInsert")->isEnabled());
    QTest::mouseClick(navigatorButton("nbInsert"), Qt::LeftButton);
    QVERIFY(navigatorButton("nbPost")->isEnabled());
    const QStringList typed = {"1/4/2009", "15,20", "3,50", "Βιβλία"};
    for (int number = 1; number <= 4; ++number) {
        testsupport::TypeText(field(number), typed.at(number - 1));
    }
    QTest::mouseClick(navigatorButton("nbPost"), Qt::LeftButton);
    QVERIFY(messages_.isEmpty());
    QCOMPARE(storedRows(), QStringList{"2009-04-01|1520|350|Βιβλία"});
    QCOMPARE(grid()->model()->rowCount(), 1);
    QVERIFY(navigatorButton("nbDelete")->isEnabled());
    QVERIFY(!navigatorButton("nbPost")->isEnabled());
}

void TestExpensesRegister::laterDateIsFirstAfterReopening() {
    addStoredRows();
    // A row without a date goes last; one whose date is not in ISO form
    // keeps its place by its text.
    store::Execute(*connection_, QStringLiteral("INSERT INTO EKSODA VALUES "
                                                "(NULL, 100, 0, 'Χωρίς ημερομηνία'), "
                                                "('2008-7-1', 200, 0, 'Παλιά μορφή')"));
    openForm();
    QTest::mouseClick(navigatorButton("nbLast"), Qt::LeftButton);
    QTest::mouseClick(navigatorButton("nbInsert"), Qt::LeftButton);
    const QStringList typed = {"15/06/2009", "10", "2,40", "Νέο"};
    for (int number = 1; number <= 4; ++number) {
        testsupport::TypeText(field(number), typed.at(number - 1));
    }
    QTest::mouseClick(navigatorButton("nbPost"), Qt::LeftButton);
    QVERIFY(messages_.isEmpty());
    form_->close();
    openForm();
    QCOMPARE(gridColumn(1),
             (QStringList{"15/06/2009", "2008-7-1", "05/03/2007", "01/01/2006", ""}));
    QCOMPARE(gridColumn(0),
             (QStringList{"Νέο", "Παλιά μορφή", "Ψώνια", "Ρεύμα", "Χωρίς ημερομηνία"}));
    QCOMPARE(field(1)->text(), QStringLiteral("15/06/2009"));
    QCOMPARE(field(2)->text(), QStringLiteral("10,00"));
}

// The grid takes no part in it; after the navigator Tab comes back to the
// date.
void TestExpensesRegister::tabOrder() {
    openForm();
    const QStringList expected = {"DBEdit1",  "DBEdit2", "DBEdit3", "DBEdit4", "Button1",
                                  "nbFirst",  "nbPrior", "nbNext",  "nbLast",  "nbInsert",
                                  "nbDelete", "nbPost",  "DBEdit1"};
    QStringList chain;
    QWidget* widget = field(1);
    for (int i = 0; i < expected.size(); ++i) {
        chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus)) {
            widget = widget->nextInFocusChain();
        }
    }
    QCOMPARE(chain, expected);
}

void TestExpensesRegister::menuGivesWayToEachWindow_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::newRow("register") << "Button1"
                              << "TForm13";
    QTest::newRow("search") << "Button2"
                            << "TForm14";
    QTest::newRow("by month") << "Button3"
                              << "TForm15";
}

void TestExpensesRegister::menuGivesWayToEachWindow() {
    QFETCH(QString, button);
    QFETCH(QString, window);
    addStoredRows();
    TForm14 search;
    TForm15 byMonth;
    RegisterLongLivedWindows({nullptr, &search, &byMonth});
    TForm5 menu;
    QCOMPARE(menu.windowTitle(), QStringLiteral("Έξοδα"));
    QCOMPARE(menu.size(), QSize(149, 148));
    menu.show();
    bool came = false;
    bool menuWasHidden = false;
    QPointer<QWidget> shown;
    WhenModalComes(&menu, window, &came, [&](QWidget* modal) {
        menuWasHidden = !menu.isVisible();
        shown = modal;
        modal->close();
    });
    QTest::mouseClick(menu.findChild<QPushButton*>(button), Qt::LeftButton);
    QTRY_VERIFY2(came, "the window did not come up");
    QVERIFY(menuWasHidden);
    QVERIFY(menu.isVisible());
    // The register is made for each opening and gone once closed; the
    // other two live on, hidden.
    QCOMPARE(shown.isNull(), window == QLatin1String("TForm13"));
    QVERIFY(messages_.isEmpty());
}

void TestExpensesRegister::escapeClosesTheMenu() {
    TForm5 menu;
    QTimer::singleShot(0, &menu, [&menu] { QTest::keyClick(&menu, Qt::Key_Escape); });
    bool finished = false;
    QTimer::singleShot(5000, &menu, [&menu, &finished] {
        if (!finished) {
            menu.done(QDialog::Accepted);
        }
    });
    const int result = widgets::RunModalLoop(menu);
    finished = true;
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!menu.isVisible());
}

QTEST_MAIN(TestExpensesRegister)
#include "tst_expenses_register.moc"
