// The data-aware controls bound to real tables: what they show, how typing
// starts an edit, the navigator's rules and how refused actions are shown.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "TestSupport.h"
#include "core/AppGlobals.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBMemo.h"
#include "widgets/DBNavigator.h"
#include "widgets/DBText.h"
#include "widgets/DataSource.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

using store::DataSet;
using widgets::Answer;
using widgets::MessageRequest;
using widgets::NavigatorButton;
using State = store::DataSet::State;

namespace {

const QString kContacts = QStringLiteral("XRHSIMA_THLEFWNA");
const QString kName = QStringLiteral("ONOMATEPWNYMO");
const QString kPhone = QStringLiteral("THLEFWNO_1");

}  // namespace

class TestWidgets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void editShowsTheCurrentRowAndNullAsEmpty();
    void typingLimitIsTheDeclaredLength_data();
    void typingLimitIsTheDeclaredLength();
    void typingPutsTheRowIntoEditAndPostWritesIt();
    void typingIntoAnEmptySetStartsANewRow();
    void closedSetLeavesTheFieldsEmptyAndReadOnly();
    void memoKeepsLineBreaks_data();
    void memoKeepsLineBreaks();
    void hiddenTextReadsTheCounter();
    void datesAndAmountsAreShownAndTaken_data();
    void datesAndAmountsAreShownAndTaken();
    void badDateIsRefusedAtPostAndKept();
    void amountFieldTakesOnlyNumberKeys();
    void navigatorEnablingRules_data();
    void navigatorEnablingRules();
    void navigatorButtonsMoveAndSignal();
    void navigatorDeleteAsks_data();
    void navigatorDeleteAsks();
    void refusedPostKeepsTypedValuesAndShowsTheMessage();
    void gridModelStaysConsistent();
    void gridShowsColumnsAsConfigured();
    void gridClickMakesTheRowCurrent_data();
    void gridClickMakesTheRowCurrent();
    void gridClickAfterARefusedPostStaysOnTheRow();
    void gridSelectionNeverLeavesTheCurrentRow_data();
    void gridSelectionNeverLeavesTheCurrentRow();
    void gridIndicatorMarksTheCurrentRow();
    void gridCtrlDeleteAsks_data();
    void gridCtrlDeleteAsks();
    void controlRolesGiveTheirLook_data();
    void controlRolesGiveTheirLook();

private:
    std::unique_ptr<testsupport::TestDatabase> database_;
    std::unique_ptr<store::Table> table_;
    std::unique_ptr<QWidget> host_;
    widgets::DataSource* source_ = nullptr;
    std::unique_ptr<testsupport::MessageLog> messages_;

    void openTable(const QString& table, const QString& sort = QString());
    widgets::DBEdit* addEdit(const QString& field);
    widgets::DBNavigator* addNavigator();
    widgets::DBGrid* addGrid();
    QVariant stored(const QString& sql);
};

void TestWidgets::init() {
    testsupport::ResetTestHooks();
    database_ = std::make_unique<testsupport::TestDatabase>();
    table_ = std::make_unique<store::Table>();
    table_->setConnection(&database_->connection);
    host_ = std::make_unique<QWidget>();
    host_->resize(600, 400);
    source_ = new widgets::DataSource(host_.get());
    source_->setDataSet(table_.get());
    messages_ = std::make_unique<testsupport::MessageLog>();
}

void TestWidgets::cleanup() {
    messages_.reset();
    host_.reset();
    table_.reset();
    database_.reset();
    testsupport::ResetTestHooks();
}

void TestWidgets::openTable(const QString& table, const QString& sort) {
    table_->setTableName(table);
    table_->setSort(sort);
    table_->open();
}

widgets::DBEdit* TestWidgets::addEdit(const QString& field) {
    auto* edit = new widgets::DBEdit(host_.get());
    edit->setDataSource(source_);
    edit->setDataField(field);
    return edit;
}

widgets::DBNavigator* TestWidgets::addNavigator() {
    auto* navigator = new widgets::DBNavigator(host_.get());
    navigator->setDataSource(source_);
    return navigator;
}

widgets::DBGrid* TestWidgets::addGrid() {
    auto* grid = new widgets::DBGrid(host_.get());
    grid->setGeometry(0, 100, 500, 250);
    grid->setDataSource(source_);
    grid->addColumn(kName, QStringLiteral("Όνομα"), 170);
    grid->addColumn(kPhone, QStringLiteral("Τηλέφωνο"), 85, Qt::AlignHCenter);
    host_->show();
    return grid;
}

QVariant TestWidgets::stored(const QString& sql) {
    return store::ScalarQuery(database_->connection, sql);
}

void TestWidgets::editShowsTheCurrentRowAndNullAsEmpty() {
    store::Execute(database_->connection,
                   QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO, THLEFWNO_1) "
                                  "VALUES ('Άλφα', '210'), ('Βήτα', NULL)"));
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBEdit* name = addEdit(kName);
    widgets::DBEdit* phone = addEdit(kPhone);
    QCOMPARE(name->text(), QStringLiteral("Άλφα"));
    QCOMPARE(phone->text(), QStringLiteral("210"));
    table_->next();
    QCOMPARE(name->text(), QStringLiteral("Βήτα"));
    QCOMPARE(phone->text(), QString());
    QCOMPARE(table_->state(), State::Browse);
}

void TestWidgets::typingLimitIsTheDeclaredLength_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("short text cut at 5") << "VARCHAR(5)"
                                         << "abcdefgh"
                                         << "abcde";
    QTest::newRow("Greek counts characters") << "VARCHAR(3)"
                                             << "Ωμέγα"
                                             << "Ωμέ";
    QTest::newRow("long text unlimited")
        << "TEXT" << QString(400, QLatin1Char('x')) << QString(400, QLatin1Char('x'));
}

void TestWidgets::typingLimitIsTheDeclaredLength() {
    QFETCH(QString, declared);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    store::Execute(database_->connection,
                   QStringLiteral("CREATE TABLE LIMITED (NAME %1)").arg(declared));
    openTable(QStringLiteral("LIMITED"));
    widgets::DBEdit* edit = addEdit(QStringLiteral("NAME"));
    testsupport::TypeText(edit, typed);
    QCOMPARE(edit->text(), kept);
    table_->post();
    QCOMPARE(stored(QStringLiteral("SELECT NAME FROM LIMITED")).toString(), kept);
}

void TestWidgets::typingPutsTheRowIntoEditAndPostWritesIt() {
    database_->addContacts({"Άλφα", "Βήτα"});
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBEdit* name = addEdit(kName);
    widgets::DBNavigator* navigator = addNavigator();
    QVERIFY(!navigator->button(NavigatorButton::Post)->isEnabled());
    name->setFocus();
    name->end(false);
    testsupport::TypeText(name, QStringLiteral("ς"));
    QCOMPARE(table_->state(), State::Edit);
    QVERIFY(navigator->button(NavigatorButton::Post)->isEnabled());
    QTest::mouseClick(navigator->button(NavigatorButton::Post), Qt::LeftButton);
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(stored(QStringLiteral("SELECT count(*) FROM XRHSIMA_THLEFWNA "
                                   "WHERE ONOMATEPWNYMO = 'Άλφας'"))
                 .toInt(),
             1);
    QVERIFY(messages_->requests.isEmpty());
}

void TestWidgets::typingIntoAnEmptySetStartsANewRow() {
    openTable(kContacts);
    widgets::DBEdit* name = addEdit(kName);
    widgets::DBEdit* phone = addEdit(kPhone);
    testsupport::TypeText(phone, QStringLiteral("2101234567"));
    QCOMPARE(table_->state(), State::Insert);
    QCOMPARE(table_->recordCount(), 1);
    QCOMPARE(phone->text(), QStringLiteral("2101234567"));
    testsupport::TypeText(name, QStringLiteral("Ζωή"));
    QCOMPARE(table_->state(), State::Insert);
    table_->post();
    QCOMPARE(stored(QStringLiteral("SELECT ONOMATEPWNYMO || '/' || THLEFWNO_1 "
                                   "FROM XRHSIMA_THLEFWNA"))
                 .toString(),
             QStringLiteral("Ζωή/2101234567"));
}

void TestWidgets::closedSetLeavesTheFieldsEmptyAndReadOnly() {
    database_->addContacts({"Άλφα"});
    openTable(kContacts);
    widgets::DBEdit* name = addEdit(kName);
    auto* memo = new widgets::DBMemo(host_.get());
    memo->setDataSource(source_);
    memo->setDataField(kName);
    widgets::DBNavigator* navigator = addNavigator();
    testsupport::TypeText(name, QStringLiteral("x"));
    database_->connection.close();
    QCOMPARE(name->text(), QString());
    QCOMPARE(memo->toPlainText(), QString());
    QVERIFY(name->isReadOnly());
    QVERIFY(memo->isReadOnly());
    testsupport::TypeText(name, QStringLiteral("y"));
    QCOMPARE(name->text(), QString());
    const auto buttons = navigator->findChildren<QToolButton*>();
    QCOMPARE(buttons.size(), 7);
    for (const QToolButton* button : buttons) {
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    }
    database_->connection.reopen(database_->work.connectionString());
    QCOMPARE(stored(QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA")).toString(),
             QStringLiteral("Άλφα"));
}

void TestWidgets::memoKeepsLineBreaks_data() {
    QTest::addColumn<QVariant>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("unix breaks") << QVariant("α\nβ") << QStringLiteral("α\nβ!");
    QTest::newRow("windows breaks") << QVariant("α\r\nβ\r\n") << QStringLiteral("α\r\nβ\r\n!");
    QTest::newRow("empty lines") << QVariant("\n\nα") << QStringLiteral("\n\nα!");
    QTest::newRow("non-breaking space")
        << QVariant(QStringLiteral("α\u00A0β")) << QStringLiteral("α\u00A0β!");
    QTest::newRow("NULL") << QVariant() << QStringLiteral("!");
}

void TestWidgets::memoKeepsLineBreaks() {
    QFETCH(QVariant, before);
    QFETCH(QString, after);
    store::Execute(database_->connection,
                   QStringLiteral("INSERT INTO NOTES (TITLOS, PERIGRAFH) VALUES ('t', ?)"),
                   {before});
    openTable(QStringLiteral("NOTES"));
    auto* memo = new widgets::DBMemo(host_.get());
    memo->setDataSource(source_);
    memo->setDataField(QStringLiteral("PERIGRAFH"));
    QCOMPARE(memo->memoText(), before.toString());
    QCOMPARE(table_->state(), State::Browse);
    memo->moveCursor(QTextCursor::End);
    testsupport::TypeText(memo, QStringLiteral("!"));
    QCOMPARE(table_->state(), State::Edit);
    table_->post();
    QCOMPARE(stored(QStringLiteral("SELECT PERIGRAFH FROM NOTES")).toString(), after);
}

void TestWidgets::hiddenTextReadsTheCounter() {
    store::Execute(database_->connection,
                   QStringLiteral("INSERT INTO NOTES (ID, TITLOS) VALUES (41, 'a'), (7, 'b')"));
    openTable(QStringLiteral("NOTES"), QStringLiteral("TITLOS ASC"));
    auto* id = new widgets::DBText(host_.get());
    id->setDataSource(source_);
    id->setDataField(QStringLiteral("ID"));
    QCOMPARE(id->text(), QStringLiteral("41"));
    table_->next();
    QCOMPARE(id->text(), QStringLiteral("7"));
    table_->insert();
    QCOMPARE(id->text(), QString());
    table_->setValue(QStringLiteral("TITLOS"), QStringLiteral("c"));
    table_->post();
    QCOMPARE(id->text(), QStringLiteral("42"));
}

void TestWidgets::datesAndAmountsAreShownAndTaken_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("written");
    QTest::newRow("date") << "HMEROMHNIA"
                          << "05/03/2008"
                          << "29/2/2012" << QVariant("2012-02-29");
    QTest::newRow("date with zeros") << "HMEROMHNIA"
                                     << "05/03/2008"
                                     << "01/12/2009" << QVariant("2009-12-01");
    QTest::newRow("amount, comma") << "POSO"
                                   << "12,34"
                                   << "7,5" << QVariant(750);
    QTest::newRow("amount, thousands") << "POSO"
                                       << "12,34"
                                       << "1234,05" << QVariant(123405);
    QTest::newRow("amount, whole") << "VAT"
                                   << "-0,05"
                                   << "3" << QVariant(300);
    QTest::newRow("amount emptied") << "VAT"
                                    << "-0,05"
                                    << "" << QVariant();
}

void TestWidgets::datesAndAmountsAreShownAndTaken() {
    QFETCH(QString, field);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QVariant, written);
    store::Execute(database_->connection, QStringLiteral("INSERT INTO EKSODA VALUES "
                                                         "('2008-03-05', 1234, -5, 'x')"));
    openTable(QStringLiteral("EKSODA"));
    widgets::DBEdit* edit = addEdit(field);
    widgets::DBNavigator* navigator = addNavigator();
    QCOMPARE(edit->text(), shown);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    testsupport::TypeText(edit, typed);
    QCOMPARE(table_->state(), State::Edit);
    QTest::mouseClick(navigator->button(NavigatorButton::Post), Qt::LeftButton);
    QVERIFY(messages_->requests.isEmpty());
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(stored(QStringLiteral("SELECT %1 FROM EKSODA").arg(field)), written);
}

void TestWidgets::badDateIsRefusedAtPostAndKept() {
    store::Execute(database_->connection, QStringLiteral("INSERT INTO EKSODA VALUES "
                                                         "('2008-03-05', 100, 0, 'x')"));
    openTable(QStringLiteral("EKSODA"));
    widgets::DBEdit* date = addEdit(QStringLiteral("HMEROMHNIA"));
    widgets::DBNavigator* navigator = addNavigator();
    date->selectAll();
    testsupport::TypeText(date, QStringLiteral("31/2/2009"));
    QTest::mouseClick(navigator->button(NavigatorButton::Post), Qt::LeftButton);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests.first().text, QStringLiteral("'31/2/2009' is not a valid date."));
    QCOMPARE(table_->state(), State::Edit);
    QCOMPARE(date->text(), QStringLiteral("31/2/2009"));
    QCOMPARE(stored(QStringLiteral("SELECT HMEROMHNIA FROM EKSODA")).toString(),
             QStringLiteral("2008-03-05"));
    date->setSelection(0, 2);
    testsupport::TypeText(date, QStringLiteral("28"));
    QTest::mouseClick(navigator->button(NavigatorButton::Post), Qt::LeftButton);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(stored(QStringLiteral("SELECT HMEROMHNIA FROM EKSODA")).toString(),
             QStringLiteral("2009-02-28"));
}

void TestWidgets::amountFieldTakesOnlyNumberKeys() {
    openTable(QStringLiteral("EKSODA"));
    widgets::DBEdit* amount = addEdit(QStringLiteral("POSO"));
    // A point is no decimal separator here (it groups thousands); a third
    // decimal is typed and refused when the value is taken.
    testsupport::TypeText(amount, QStringLiteral("1a2.,3x45"));
    QCOMPARE(amount->text(), QStringLiteral("12,345"));
    QCOMPARE(table_->state(), State::Insert);
}

void TestWidgets::navigatorEnablingRules_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("action");
    // Enabled flags in the order First Prior Next Last Insert Delete Post.
    QTest::addColumn<QString>("enabled");
    QTest::newRow("empty") << 0 << -1 << ""
                           << "0000100";
    QTest::newRow("one row") << 1 << 0 << ""
                             << "0000110";
    QTest::newRow("first of three") << 3 << 0 << ""
                                    << "0011110";
    QTest::newRow("middle of three") << 3 << 1 << ""
                                     << "1111110";
    QTest::newRow("last of three") << 3 << 2 << ""
                                   << "1100110";
    QTest::newRow("editing") << 3 << 1 << "edit"
                             << "1111111";
    QTest::newRow("inserting into empty") << 0 << -1 << "insert"
                                          << "0000111";
    QTest::newRow("closed") << 3 << 0 << "close"
                            << "0000000";
}

void TestWidgets::navigatorEnablingRules() {
    QFETCH(int, rows);
    QFETCH(int, current);
    QFETCH(QString, action);
    QFETCH(QString, enabled);
    for (int i = 0; i < rows; ++i) {
        database_->addContacts({QString(QChar(u'Α' + i))});
    }
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBNavigator* navigator = addNavigator();
    if (current >= 0) {
        table_->moveTo(current);
    }
    if (action == QLatin1String("edit")) {
        table_->setValue(kPhone, QStringLiteral("1"));
    } else if (action == QLatin1String("insert")) {
        table_->insert();
    } else if (action == QLatin1String("close")) {
        table_->close();
    }
    const NavigatorButton order[] = {NavigatorButton::First,  NavigatorButton::Prior,
                                     NavigatorButton::Next,   NavigatorButton::Last,
                                     NavigatorButton::Insert, NavigatorButton::Delete,
                                     NavigatorButton::Post};
    QString seen;
    for (NavigatorButton which : order) {
        seen += navigator->button(which)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    }
    QCOMPARE(seen, enabled);
}

void TestWidgets::navigatorButtonsMoveAndSignal() {
    database_->addContacts({"Α", "Β", "Γ"});
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBNavigator* navigator = addNavigator();
    widgets::DBEdit* name = addEdit(kName);
    QSignalSpy clicked(navigator, &widgets::DBNavigator::buttonClicked);
    const QList<QPair<NavigatorButton, QString>> steps = {
        {NavigatorButton::Last, "Γ"}, {NavigatorButton::Prior, "Β"}, {NavigatorButton::First, "Α"},
        {NavigatorButton::Next, "Β"}, {NavigatorButton::Insert, ""},
    };
    for (const auto& [which, expected] : steps) {
        QTest::mouseClick(navigator->button(which), Qt::LeftButton);
        QCOMPARE(name->text(), expected);
        QCOMPARE(clicked.takeLast().at(0).value<NavigatorButton>(), which);
    }
    QCOMPARE(table_->state(), State::Insert);
    QCOMPARE(table_->recNo(), 1);
    // An untouched new row goes away when the user moves on.
    QTest::mouseClick(navigator->button(NavigatorButton::Next), Qt::LeftButton);
    QCOMPARE(table_->recordCount(), 3);
    QCOMPARE(name->text(), QStringLiteral("Γ"));

    QCOMPARE(navigator->button(NavigatorButton::First)->toolTip(), QStringLiteral("First record"));
    QCOMPARE(navigator->button(NavigatorButton::Post)->toolTip(), QStringLiteral("Post edit"));
    QCOMPARE(navigator->button(NavigatorButton::Delete)->objectName(), QStringLiteral("nbDelete"));
    navigator->setVisibleButtons({NavigatorButton::Post});
    host_->show();
    QVERIFY(navigator->button(NavigatorButton::Post)->isVisible());
    QVERIFY(!navigator->button(NavigatorButton::First)->isVisible());
}

void TestWidgets::navigatorDeleteAsks_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("shown");
    QTest::newRow("OK on the middle row") << Answer::Ok << 1 << QStringList{"Α", "Γ"} << "Γ";
    QTest::newRow("OK on the last row") << Answer::Ok << 2 << QStringList{"Α", "Β"} << "Β";
    QTest::newRow("Cancel keeps the row")
        << Answer::Cancel << 1 << QStringList{"Α", "Β", "Γ"} << "Β";
}

void TestWidgets::navigatorDeleteAsks() {
    QFETCH(Answer, answer);
    QFETCH(int, current);
    QFETCH(QStringList, left);
    QFETCH(QString, shown);
    database_->addContacts({"Γ", "Α", "Β"});
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBNavigator* navigator = addNavigator();
    widgets::DBEdit* name = addEdit(kName);
    QSignalSpy clicked(navigator, &widgets::DBNavigator::buttonClicked);
    table_->moveTo(current);
    messages_->answer = answer;
    QTest::mouseClick(navigator->button(NavigatorButton::Delete), Qt::LeftButton);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests.first().text, QStringLiteral("Delete record?"));
    QCOMPARE(messages_->requests.first().caption, QStringLiteral("Confirm"));
    QCOMPARE(messages_->requests.first().buttons, (QList<Answer>{Answer::Ok, Answer::Cancel}));
    QCOMPARE(name->text(), shown);
    QCOMPARE(clicked.size(), 1);
    store::Query query;
    query.setConnection(&database_->connection);
    query.setSql(QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA"));
    query.setSort(QStringLiteral("ONOMATEPWNYMO ASC"));
    query.open();
    QStringList names;
    for (; !query.eof(); query.next()) {
        names.append(query.asString(0));
    }
    QCOMPARE(names, left);
}

void TestWidgets::refusedPostKeepsTypedValuesAndShowsTheMessage() {
    store::Execute(database_->connection,
                   QStringLiteral("CREATE TRIGGER needs_name BEFORE INSERT ON XRHSIMA_THLEFWNA "
                                  "WHEN NEW.ONOMATEPWNYMO IS NULL "
                                  "BEGIN SELECT RAISE(ABORT, 'ONOMATEPWNYMO is required'); END"));
    openTable(kContacts);
    widgets::DBNavigator* navigator = addNavigator();
    widgets::DBEdit* name = addEdit(kName);
    widgets::DBEdit* phone = addEdit(kPhone);
    QSignalSpy clicked(navigator, &widgets::DBNavigator::buttonClicked);
    QTest::mouseClick(navigator->button(NavigatorButton::Insert), Qt::LeftButton);
    testsupport::TypeText(phone, QStringLiteral("2310000000"));
    QTest::mouseClick(navigator->button(NavigatorButton::Post), Qt::LeftButton);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests.first().caption, kApplicationTitle);
    QCOMPARE(messages_->requests.first().text, QStringLiteral("ONOMATEPWNYMO is required"));
    QCOMPARE(table_->state(), State::Insert);
    QCOMPARE(phone->text(), QStringLiteral("2310000000"));
    QCOMPARE(clicked.size(), 1);  // the Insert; the refused Post does not signal
    QVERIFY(navigator->button(NavigatorButton::Post)->isEnabled());
    testsupport::TypeText(name, QStringLiteral("Ρένα"));
    QTest::mouseClick(navigator->button(NavigatorButton::Post), Qt::LeftButton);
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(stored(QStringLiteral("SELECT ONOMATEPWNYMO || THLEFWNO_1 FROM XRHSIMA_THLEFWNA"))
                 .toString(),
             QStringLiteral("Ρένα2310000000"));
}

void TestWidgets::gridModelStaysConsistent() {
    database_->addContacts({"Γ", "Α", "Β"});
    widgets::DBGrid* grid = addGrid();
    QAbstractItemModelTester tester(grid->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    QCOMPARE(grid->model()->rowCount(), 3);
    table_->moveTo(1);
    table_->insert();
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(grid->model()->index(1, 0).data().toString(), QString());
    QCOMPARE(grid->model()->index(2, 0).data().toString(), QStringLiteral("Β"));
    table_->setValue(kName, QStringLiteral("Ααα"));
    QCOMPARE(grid->model()->index(1, 0).data().toString(), QStringLiteral("Ααα"));
    table_->post();
    table_->insert();
    table_->cancel();
    table_->last();
    table_->deleteRecord();
    table_->setSort(QStringLiteral("ONOMATEPWNYMO DESC"));
    QStringList shown;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        shown.append(grid->model()->index(row, 0).data().toString());
    }
    QCOMPARE(shown, (QStringList{"Β", "Ααα", "Α"}));
    QCOMPARE(grid->currentIndex().row(), table_->recNo());
    table_->close();
    QCOMPARE(grid->model()->rowCount(), 0);
}

void TestWidgets::gridShowsColumnsAsConfigured() {
    store::Execute(database_->connection,
                   QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO, THLEFWNO_1) "
                                  "VALUES ('Άλφα', '210')"));
    openTable(kContacts);
    widgets::DBGrid* grid = addGrid();
    const QAbstractItemModel* model = grid->model();
    QCOMPARE(model->columnCount(), 2);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Τηλέφωνο"));
    QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignCenter));
    QVERIFY(grid->horizontalHeader()->font().bold());
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("210"));
    QCOMPARE(Qt::Alignment(model->index(0, 1).data(Qt::TextAlignmentRole).toInt()),
             Qt::AlignHCenter | Qt::AlignVCenter);
    QCOMPARE(grid->columnWidth(0), 170);
    QCOMPARE(grid->columnWidth(1), 85);
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
    // The grid never takes the focus from Tab.
    QVERIFY(!(grid->focusPolicy() & Qt::TabFocus));

    // The selected row keeps its colours when the focus is elsewhere, even on
    // a desktop whose inactive selection is drawn differently.
    const QPalette original = QApplication::palette();
    QPalette desktop = original;
    desktop.setColor(QPalette::Active, QPalette::Highlight, Qt::darkBlue);
    desktop.setColor(QPalette::Inactive, QPalette::Highlight, Qt::lightGray);
    QApplication::setPalette(desktop);
    widgets::DBGrid other;
    QApplication::setPalette(original);
    QCOMPARE(other.palette().color(QPalette::Inactive, QPalette::Highlight), QColor(Qt::darkBlue));
}

void TestWidgets::gridClickMakesTheRowCurrent_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("browse") << "" << 2 << "Γ" << QStringList{"Α", "Β", "Γ"};
    QTest::newRow("changed row is posted") << "edit" << 0 << "Α" << QStringList{"Α", "Βx", "Γ"};
    // Rows Α, new, Β, Γ: clicking Β drops the untouched new row.
    QTest::newRow("untouched new row dropped")
        << "insert" << 2 << "Β" << QStringList{"Α", "Β", "Γ"};
    QTest::newRow("typed new row posted")
        << "insert typed" << 3 << "Γ" << QStringList{"Α", "Β", "Γ", "x"};
}

void TestWidgets::gridClickMakesTheRowCurrent() {
    QFETCH(QString, before);
    QFETCH(int, clicked);
    QFETCH(QString, shown);
    QFETCH(QStringList, stored);
    database_->addContacts({"Α", "Β", "Γ"});
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBEdit* name = addEdit(kName);
    widgets::DBGrid* grid = addGrid();
    table_->moveTo(1);
    if (before.startsWith(QLatin1String("insert"))) {
        table_->insert();
    }
    if (before == QLatin1String("edit") || before == QLatin1String("insert typed")) {
        name->end(false);
        testsupport::TypeText(name, QStringLiteral("x"));
    }
    testsupport::ClickRow(grid, clicked);
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(name->text(), shown);
    QCOMPARE(grid->currentIndex().row(), table_->recNo());
    QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(testsupport::ColumnValues(
                 database_->connection,
                 QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA ORDER BY rowid")),
             stored);
}

void TestWidgets::gridClickAfterARefusedPostStaysOnTheRow() {
    database_->addContacts({"Α", "Β"});
    store::Execute(database_->connection,
                   QStringLiteral("CREATE TRIGGER refuse_x BEFORE UPDATE ON XRHSIMA_THLEFWNA "
                                  "WHEN NEW.ONOMATEPWNYMO = 'x' "
                                  "BEGIN SELECT RAISE(ABORT, 'x is not a name'); END"));
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBEdit* name = addEdit(kName);
    widgets::DBGrid* grid = addGrid();
    name->selectAll();
    testsupport::TypeText(name, QStringLiteral("x"));
    testsupport::ClickRow(grid, 1);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests.first().text, QStringLiteral("x is not a name"));
    QCOMPARE(table_->recNo(), 0);
    QCOMPARE(table_->state(), State::Edit);
    QCOMPARE(grid->currentIndex().row(), 0);
    QCOMPARE(name->text(), QStringLiteral("x"));
}

void TestWidgets::gridSelectionNeverLeavesTheCurrentRow_data() {
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("current");
    QTest::newRow("click on the row indicator") << "indicator" << 2;
    QTest::newRow("drag across rows") << "drag" << 0;
    QTest::newRow("click on a column title") << "title" << 1;
    QTest::newRow("Ctrl+A") << "select all" << 1;
    QTest::newRow("typing a letter") << "letter" << 1;
}

// The fields and the grid always agree on the current row: no gesture may
// highlight a row that the set has not made current.
void TestWidgets::gridSelectionNeverLeavesTheCurrentRow() {
    QFETCH(QString, gesture);
    QFETCH(int, current);
    database_->addContacts({"Α", "Β", "Γ"});
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBEdit* name = addEdit(kName);
    widgets::DBGrid* grid = addGrid();
    table_->moveTo(1);
    QHeaderView* indicator = grid->verticalHeader();
    if (gesture == QLatin1String("indicator")) {
        const QPoint at(indicator->width() / 2, indicator->sectionViewportPosition(2) + 3);
        QTest::mouseClick(indicator->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    } else if (gesture == QLatin1String("drag")) {
        const QPoint from = grid->visualRect(grid->model()->index(0, 0)).center();
        const QPoint to = grid->visualRect(grid->model()->index(2, 1)).center();
        QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, grid->viewport()->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, to);
    } else if (gesture == QLatin1String("title")) {
        QHeaderView* titles = grid->horizontalHeader();
        const QPoint at(titles->sectionViewportPosition(1) + 10, titles->height() / 2);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    } else if (gesture == QLatin1String("select all")) {
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    } else {
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_G);
    }
    QCOMPARE(table_->recNo(), current);
    QCOMPARE(name->text(), QStringList({"Α", "Β", "Γ"}).at(current));
    const QModelIndexList rows = grid->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().row(), current);
    QCOMPARE(grid->currentIndex().row(), current);
}

namespace {

int DarkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            dark += qGray(image.pixel(x, y)) < 80 ? 1 : 0;
        }
    }
    return dark;
}

QRect SectionRect(const QHeaderView* header, int row) {
    return QRect(0, header->sectionViewportPosition(row), header->width(),
                 header->sectionSize(row));
}

}  // namespace

void TestWidgets::gridIndicatorMarksTheCurrentRow() {
    database_->addContacts({"Α", "Β", "Γ"});
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBGrid* grid = addGrid();
    const QHeaderView* header = grid->verticalHeader();
    for (const State state : {State::Browse, State::Insert}) {
        if (state == State::Insert) {
            table_->insert();
        }
        table_->moveTo(1);
        const QImage image = header->viewport()->grab().toImage();
        QVERIFY2(DarkPixels(image, SectionRect(header, 1)) > 4, "no mark on the current row");
        QCOMPARE(DarkPixels(image, SectionRect(header, 0)), 0);
        QCOMPARE(DarkPixels(image, SectionRect(header, 2)), 0);
    }
}

void TestWidgets::gridCtrlDeleteAsks_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("left");
    QTest::newRow("OK") << Answer::Ok << 1;
    QTest::newRow("Cancel") << Answer::Cancel << 2;
}

void TestWidgets::gridCtrlDeleteAsks() {
    QFETCH(Answer, answer);
    QFETCH(int, left);
    database_->addContacts({"Α", "Β"});
    openTable(kContacts, QStringLiteral("ONOMATEPWNYMO ASC"));
    widgets::DBGrid* grid = addGrid();
    messages_->answer = answer;
    QTest::keyClick(grid, Qt::Key_Delete);
    QVERIFY(messages_->requests.isEmpty());
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(table_->recNo(), 1);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests.first().text, QStringLiteral("Delete record?"));
    QCOMPARE(stored(QStringLiteral("SELECT count(*) FROM XRHSIMA_THLEFWNA")).toInt(), left);
    QCOMPARE(grid->model()->rowCount(), left);
    QCOMPARE(grid->currentIndex().row(), table_->recNo());
}

void TestWidgets::controlRolesGiveTheirLook_data() {
    QTest::addColumn<QString>("role");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("bold");
    QTest::newRow("no role") << QString() << false << false;
    QTest::newRow("unknown role") << QStringLiteral("loud") << false << false;
    QTest::newRow("mandatory") << QStringLiteral("mandatory") << true << true;
    QTest::newRow("value") << QStringLiteral("value") << true << true;
    QTest::newRow("heading") << QStringLiteral("heading") << false << true;
    QTest::newRow("accent") << QStringLiteral("accent") << true << false;
}

// A form names a label's role; the look comes from here, at the form's font.
void TestWidgets::controlRolesGiveTheirLook() {
    QFETCH(QString, role);
    QFETCH(bool, red);
    QFETCH(bool, bold);
    QWidget window;
    window.setFont(widgets::TahomaPoints(8));
    auto* label = new QLabel(QStringLiteral("*"), &window);
    label->setProperty("role", role);
    widgets::ApplyControlRoles(&window);
    QCOMPARE(label->palette().color(QPalette::WindowText) == widgets::kMarkRed, red);
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(label->font().pointSize(), 8);
    QCOMPARE(label->font().family(), QStringLiteral("Tahoma"));
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
