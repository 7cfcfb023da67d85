// Data sets over real tables: navigation, the Browse/Edit/Insert states and
// the rules that decide what is written and what is dropped.
#include <sqlite3.h>

#include <QSignalSpy>
#include <QTest>

#include "TestSupport.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"

using store::DatabaseError;
using store::DataSet;
using State = store::DataSet::State;

namespace {

const QString kContacts = QStringLiteral("XRHSIMA_THLEFWNA");
const QString kName = QStringLiteral("ONOMATEPWNYMO");

QStringList NamesInDatabase(store::Connection& connection) {
    return testsupport::ColumnValues(
        connection, QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA ORDER BY rowid"));
}

// The engine refuses every read while it lives, so a write goes through but
// reading the row back afterwards fails.
class RefusedReads {
public:
    explicit RefusedReads(sqlite3* db) : db_(db) { sqlite3_set_authorizer(db_, Refuse, nullptr); }
    ~RefusedReads() { sqlite3_set_authorizer(db_, nullptr, nullptr); }
    RefusedReads(const RefusedReads&) = delete;
    RefusedReads& operator=(const RefusedReads&) = delete;

private:
    static int Refuse(void*, int action, const char*, const char*, const char*, const char*) {
        return action == SQLITE_SELECT ? SQLITE_DENY : SQLITE_OK;
    }
    sqlite3* db_;
};

QStringList NamesInOrder(DataSet& set, int column) {
    QStringList names;
    for (int row = 0; row < set.recordCount(); ++row) {
        names.append(set.valueAt(row, column).toString());
    }
    return names;
}

}  // namespace

class TestDataSet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void emptyTableOpensInBrowse();
    void typingIntoAnEmptySetStartsANewRow();
    void navigationAndBofEof();
    void changeIsPostedByMovingToAnotherRow_data();
    void changeIsPostedByMovingToAnotherRow();
    void untouchedNewRowIsDroppedByMoving();
    void postingAnUntouchedNewRowDropsIt();
    void closingDropsAnUnpostedEdit();
    void closingTheConnectionDropsAnUnpostedInsert();
    void cancelRestoresTheRow();
    void failedPostKeepsTheTypedValues();
    void failedPostStopsTheMove();
    void failedReadBackStoresNothing_data();
    void failedReadBackStoresNothing();
    void deleteOfTheLastRowMovesToThePreviousOne();
    void insertGoesAtTheCurrentPosition();
    void greekNamesSortAsAReaderExpects();
    void descendingSortAndSortErrors();
    void queryWritesTheTableItNames();
    void queryIsReadOnlyUnlessItNamesItsTable_data();
    void queryIsReadOnlyUnlessItNamesItsTable();
    void queryNamingATableItDoesNotReadIsRefused();
    void setAndConnectionGoInEitherOrder_data();
    void setAndConnectionGoInEitherOrder();
    void setKeepsTheConnectionItMovedTo();
    void counterIsFilledOnPost();
    void rowDeletedElsewhereIsReportedOnPost();
    void signalsFollowTheStates();

private:
    std::unique_ptr<testsupport::TestDatabase> database_;
    std::unique_ptr<store::Table> table_;

    void openContacts(const QString& sort = QStringLiteral("ONOMATEPWNYMO ASC"));
};

void TestDataSet::init() {
    testsupport::ResetTestHooks();
    database_ = std::make_unique<testsupport::TestDatabase>(true);
    table_ = std::make_unique<store::Table>();
    table_->setConnection(&database_->connection);
    table_->setTableName(kContacts);
}

void TestDataSet::cleanup() {
    table_.reset();
    database_.reset();
    testsupport::ResetTestHooks();
}

void TestDataSet::openContacts(const QString& sort) {
    table_->setSort(sort);
    table_->open();
}

void TestDataSet::emptyTableOpensInBrowse() {
    openContacts();
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(table_->recordCount(), 0);
    QCOMPARE(table_->recNo(), -1);
    QVERIFY(table_->bof());
    QVERIFY(table_->eof());
    QCOMPARE(table_->fieldCount(), 7);
    QCOMPARE(table_->fieldInfo(0).name, kName);
    QCOMPARE(table_->fieldInfo(0).size, 255);
    QCOMPARE(table_->asString(kName), QString());
    QVERIFY_THROWS_EXCEPTION(DatabaseError, table_->deleteRecord());
}

void TestDataSet::typingIntoAnEmptySetStartsANewRow() {
    openContacts();
    table_->setValue(kName, QStringLiteral("Άννα Παππά"));
    QCOMPARE(table_->state(), State::Insert);
    QCOMPARE(table_->recordCount(), 1);
    table_->post();
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(NamesInDatabase(database_->connection), QStringList{QStringLiteral("Άννα Παππά")});
    QVERIFY(table_->value(QStringLiteral("EMAIL")).isNull());
}

void TestDataSet::navigationAndBofEof() {
    database_->addContacts({"Γ", "Α", "Β"});
    openContacts();
    QCOMPARE(NamesInOrder(*table_, 0), (QStringList{"Α", "Β", "Γ"}));
    QStringList walked;
    for (table_->first(); !table_->eof(); table_->next()) {
        walked.append(table_->asString(kName));
    }
    QCOMPARE(walked, (QStringList{"Α", "Β", "Γ"}));
    QCOMPARE(table_->recNo(), 2);
    table_->prior();
    QCOMPARE(table_->asString(kName), QStringLiteral("Β"));
    QVERIFY(!table_->bof() && !table_->eof());
    table_->prior();
    table_->prior();
    QVERIFY(table_->bof());
    QCOMPARE(table_->recNo(), 0);
    table_->last();
    QVERIFY(table_->eof());
    QCOMPARE(table_->asString(kName), QStringLiteral("Γ"));
}

void TestDataSet::changeIsPostedByMovingToAnotherRow_data() {
    QTest::addColumn<QString>("move");
    QTest::newRow("next") << QStringLiteral("next");
    QTest::newRow("first") << QStringLiteral("first");
    QTest::newRow("last") << QStringLiteral("last");
    QTest::newRow("moveTo") << QStringLiteral("moveTo");
}

void TestDataSet::changeIsPostedByMovingToAnotherRow() {
    QFETCH(QString, move);
    database_->addContacts({"Α", "Β", "Γ"});
    openContacts();
    table_->moveTo(1);
    table_->setValue(kName, QStringLiteral("Βασίλης"));
    QCOMPARE(table_->state(), State::Edit);
    if (move == QLatin1String("next")) {
        table_->next();
    } else if (move == QLatin1String("first")) {
        table_->first();
    } else if (move == QLatin1String("last")) {
        table_->last();
    } else {
        table_->moveTo(0);
    }
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(NamesInDatabase(database_->connection), (QStringList{"Α", "Βασίλης", "Γ"}));
}

void TestDataSet::untouchedNewRowIsDroppedByMoving() {
    database_->addContacts({"Α", "Β", "Γ"});
    openContacts();
    table_->moveTo(2);
    table_->insert();
    QCOMPARE(table_->recordCount(), 4);
    QCOMPARE(table_->recNo(), 2);
    table_->moveTo(3);
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(table_->recordCount(), 3);
    QCOMPARE(table_->asString(kName), QStringLiteral("Γ"));
    QCOMPARE(NamesInDatabase(database_->connection).size(), 3);
}

void TestDataSet::postingAnUntouchedNewRowDropsIt() {
    database_->addContacts({"Α", "Β"});
    openContacts();
    table_->moveTo(1);
    table_->insert();
    table_->post();
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(table_->recordCount(), 2);
    QCOMPARE(table_->asString(kName), QStringLiteral("Β"));
    QCOMPARE(NamesInDatabase(database_->connection), (QStringList{"Α", "Β"}));
}

void TestDataSet::closingDropsAnUnpostedEdit() {
    database_->addContacts({"Α"});
    openContacts();
    table_->setValue(kName, QStringLiteral("Αλλαγή"));
    table_->close();
    QCOMPARE(table_->state(), State::Inactive);
    QCOMPARE(NamesInDatabase(database_->connection), QStringList{"Α"});
    openContacts();
    QCOMPARE(table_->asString(kName), QStringLiteral("Α"));
}

void TestDataSet::closingTheConnectionDropsAnUnpostedInsert() {
    openContacts();
    table_->insert();
    table_->setValue(kName, QStringLiteral("Νέος"));
    database_->connection.close();
    QVERIFY(!table_->isActive());
    database_->connection.reopen(database_->work.connectionString());
    QVERIFY(NamesInDatabase(database_->connection).isEmpty());
}

void TestDataSet::cancelRestoresTheRow() {
    database_->addContacts({"Α"});
    openContacts();
    table_->setValue(kName, QStringLiteral("Ω"));
    table_->cancel();
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(table_->asString(kName), QStringLiteral("Α"));
}

void TestDataSet::failedPostKeepsTheTypedValues() {
    store::Execute(
        database_->connection,
        QStringLiteral("CREATE TRIGGER refuse_nameless BEFORE INSERT ON XRHSIMA_THLEFWNA "
                       "WHEN NEW.ONOMATEPWNYMO IS NULL "
                       "BEGIN SELECT RAISE(ABORT, 'The name is required'); END"));
    openContacts();
    table_->insert();
    table_->setValue(QStringLiteral("THLEFWNO_1"), QStringLiteral("2101234567"));
    try {
        table_->post();
        QFAIL("the post was not refused");
    } catch (const DatabaseError& error) {
        QCOMPARE(error.message(), QStringLiteral("The name is required"));
    }
    QCOMPARE(table_->state(), State::Insert);
    QCOMPARE(table_->asString(QStringLiteral("THLEFWNO_1")), QStringLiteral("2101234567"));
    table_->setValue(kName, QStringLiteral("Νίκος"));
    table_->post();
    QCOMPARE(NamesInDatabase(database_->connection), QStringList{"Νίκος"});
    QCOMPARE(store::ScalarQuery(database_->connection,
                                QStringLiteral("SELECT THLEFWNO_1 FROM XRHSIMA_THLEFWNA"))
                 .toString(),
             QStringLiteral("2101234567"));
}

void TestDataSet::failedPostStopsTheMove() {
    database_->addContacts({"Α", "Β"});
    store::Execute(database_->connection,
                   QStringLiteral("CREATE TRIGGER refuse_x BEFORE UPDATE ON XRHSIMA_THLEFWNA "
                                  "WHEN NEW.ONOMATEPWNYMO = 'x' "
                                  "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    openContacts();
    table_->setValue(kName, QStringLiteral("x"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, table_->next());
    QCOMPARE(table_->recNo(), 0);
    QCOMPARE(table_->state(), State::Edit);
    QCOMPARE(table_->asString(kName), QStringLiteral("x"));
}

void TestDataSet::failedReadBackStoresNothing_data() {
    QTest::addColumn<bool>("newRow");
    QTest::newRow("new row") << true;
    QTest::newRow("changed row") << false;
}

// The write and its read-back are one: when the read-back fails, a second
// Post must not store a new row twice (the table has no key to refuse it).
void TestDataSet::failedReadBackStoresNothing() {
    QFETCH(bool, newRow);
    database_->addContacts({"Α"});
    openContacts();
    if (newRow) {
        table_->insert();
    }
    table_->setValue(kName, QStringLiteral("Β"));
    const State editing = table_->state();
    {
        RefusedReads refused(database_->connection.handle());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, table_->post());
    }
    QCOMPARE(table_->state(), editing);
    QCOMPARE(table_->asString(kName), QStringLiteral("Β"));
    QCOMPARE(NamesInDatabase(database_->connection), QStringList{"Α"});
    table_->post();
    QCOMPARE(table_->state(), State::Browse);
    QCOMPARE(NamesInDatabase(database_->connection),
             newRow ? QStringList({"Α", "Β"}) : QStringList{"Β"});
}

void TestDataSet::deleteOfTheLastRowMovesToThePreviousOne() {
    database_->addContacts({"Α", "Β", "Γ"});
    openContacts();
    table_->last();
    table_->deleteRecord();
    QCOMPARE(table_->recordCount(), 2);
    QCOMPARE(table_->recNo(), 1);
    QCOMPARE(table_->asString(kName), QStringLiteral("Β"));
    QCOMPARE(NamesInDatabase(database_->connection), (QStringList{"Α", "Β"}));
    table_->first();
    table_->deleteRecord();
    QCOMPARE(table_->asString(kName), QStringLiteral("Β"));
    table_->deleteRecord();
    QVERIFY(table_->isEmpty());
    QCOMPARE(table_->recNo(), -1);
}

void TestDataSet::insertGoesAtTheCurrentPosition() {
    database_->addContacts({"Α", "Β"});
    openContacts();
    table_->moveTo(1);
    table_->insert();
    QCOMPARE(table_->recNo(), 1);
    QCOMPARE(table_->valueAt(2, 0).toString(), QStringLiteral("Β"));
    table_->setValue(kName, QStringLiteral("Ζ"));
    table_->first();
    QCOMPARE(NamesInOrder(*table_, 0), (QStringList{"Α", "Ζ", "Β"}));
    QCOMPARE(NamesInDatabase(database_->connection), (QStringList{"Α", "Β", "Ζ"}));
}

void TestDataSet::greekNamesSortAsAReaderExpects() {
    database_->addContacts({"Ωρολογάς", "έψιλον", "Βήτας", "άλφα", "Άλφα", "Ελένη", "αλφα",
                            "Γιώργος", "Item 10", "Item 2", "Ήλιος", "ηλιοτρόπιο"});
    openContacts();
    const QStringList order = NamesInOrder(*table_, 0);
    const auto at = [&order](const char* name) { return order.indexOf(QString::fromUtf8(name)); };
    // Letters decide first; accents and case only break ties.
    QVERIFY(at("άλφα") < at("Βήτας"));
    QVERIFY(at("Άλφα") < at("Βήτας"));
    QVERIFY(at("αλφα") < at("Βήτας"));
    QVERIFY(at("Βήτας") < at("Γιώργος"));
    QVERIFY(at("Ελένη") < at("έψιλον"));
    QVERIFY(at("έψιλον") < at("Ήλιος"));
    QVERIFY(at("Ήλιος") < at("ηλιοτρόπιο"));
    QVERIFY(at("ηλιοτρόπιο") < at("Ωρολογάς"));
    // In the Greek order Greek letters come before Latin ones, and numbers
    // inside names compare by value.
    QVERIFY(at("Ωρολογάς") < at("Item 2"));
    QVERIFY(at("Item 2") < at("Item 10"));
}

void TestDataSet::descendingSortAndSortErrors() {
    database_->addContacts({"Α", "Γ", "Β"});
    openContacts(QStringLiteral("ONOMATEPWNYMO DESC"));
    QCOMPARE(NamesInOrder(*table_, 0), (QStringList{"Γ", "Β", "Α"}));
    table_->moveTo(1);
    table_->setSort(QStringLiteral("ONOMATEPWNYMO ASC"));
    QCOMPARE(NamesInOrder(*table_, 0), (QStringList{"Α", "Β", "Γ"}));
    QCOMPARE(table_->asString(kName), QStringLiteral("Β"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, table_->setSort(QStringLiteral("NOSUCH ASC")));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, table_->setSort(QStringLiteral("ONOMATEPWNYMO UP")));
}

void TestDataSet::queryWritesTheTableItNames() {
    store::Execute(database_->connection,
                   QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(?)"),
                   {QStringLiteral("2008-03-05")});
    store::Query day;
    day.setConnection(&database_->connection);
    day.setSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=?"));
    day.setParameters({QStringLiteral("2008-03-05")});
    day.setUpdateTable(QStringLiteral("RANTEBOU"));
    day.open();
    QVERIFY(day.isUpdatable());
    QCOMPARE(day.fieldCount(), 29);
    day.setValue(QStringLiteral("0800-0830"), QStringLiteral("Οδοντίατρος"));
    day.post();
    QCOMPARE(store::ScalarQuery(database_->connection,
                                QStringLiteral("SELECT \"0800-0830\" FROM RANTEBOU"))
                 .toString(),
             QStringLiteral("Οδοντίατρος"));
    QCOMPARE(
        store::ScalarQuery(database_->connection, QStringLiteral("SELECT count(*) FROM RANTEBOU"))
            .toInt(),
        1);
}

void TestDataSet::queryIsReadOnlyUnlessItNamesItsTable_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain columns of one table") << "SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA"
                                                << "ONOMATEPWNYMO"
                                                << "Α";
    QTest::newRow("aggregate") << "select count(*) as synolo from XRHSIMA_THLEFWNA"
                               << "SYNOLO"
                               << "1";
}

void TestDataSet::queryIsReadOnlyUnlessItNamesItsTable() {
    QFETCH(QString, sql);
    QFETCH(QString, field);
    QFETCH(QString, shown);
    database_->addContacts({"Α"});
    store::Query query;
    query.setConnection(&database_->connection);
    query.setSql(sql);
    query.open();
    QVERIFY(!query.isUpdatable());
    QVERIFY(query.fieldInfo(0).readOnly);
    QCOMPARE(query.asString(field), shown);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, query.setValue(field, 5));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, query.insert());
    QVERIFY_THROWS_EXCEPTION(DatabaseError, query.deleteRecord());
    QCOMPARE(query.state(), State::Browse);
    QCOMPARE(NamesInDatabase(database_->connection), QStringList{"Α"});
}

void TestDataSet::queryNamingATableItDoesNotReadIsRefused() {
    store::Query query;
    query.setConnection(&database_->connection);
    query.setSql(QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA"));
    query.setUpdateTable(QStringLiteral("RANTEBOU"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, query.open());
    QVERIFY(!query.isActive());
    QVERIFY(!query.isUpdatable());
}

void TestDataSet::setAndConnectionGoInEitherOrder_data() {
    QTest::addColumn<bool>("connectionFirst");
    QTest::addColumn<bool>("opened");
    QTest::newRow("connection first, set open") << true << true;
    QTest::newRow("connection first, set never opened") << true << false;
    QTest::newRow("set first, set open") << false << true;
    QTest::newRow("set first, set never opened") << false << false;
}

// Run under the address sanitizer, a set or connection that still points at
// the other one after it has gone fails here too.
void TestDataSet::setAndConnectionGoInEitherOrder() {
    QFETCH(bool, connectionFirst);
    QFETCH(bool, opened);
    auto connection = std::make_unique<store::Connection>();
    connection->reopen(database_->work.connectionString());
    auto set = std::make_unique<store::Table>();
    set->setConnection(connection.get());
    set->setTableName(kContacts);
    if (opened) {
        set->open();
        set->setValue(kName, QStringLiteral("Νέος"));
    }
    if (connectionFirst) {
        connection.reset();
        QVERIFY(!set->isActive());
        QCOMPARE(set->connection(), nullptr);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, set->open());
        set.reset();
    } else {
        set.reset();
        connection->close();
        connection.reset();
    }
    QVERIFY(NamesInDatabase(database_->connection).isEmpty());
}

void TestDataSet::setKeepsTheConnectionItMovedTo() {
    database_->addContacts({"Α"});
    auto first = std::make_unique<store::Connection>();
    first->reopen(database_->work.connectionString());
    store::Table set;
    set.setTableName(kContacts);
    set.setConnection(first.get());
    set.open();
    set.setConnection(&database_->connection);
    QVERIFY(!set.isActive());
    first.reset();
    QCOMPARE(set.connection(), &database_->connection);
    set.open();
    QCOMPARE(set.asString(kName), QStringLiteral("Α"));
    database_->connection.close();
    QVERIFY(!set.isActive());
}

void TestDataSet::counterIsFilledOnPost() {
    store::Table notes;
    notes.setConnection(&database_->connection);
    notes.setTableName(QStringLiteral("NOTES"));
    notes.open();
    QCOMPARE(notes.fieldInfo(0).kind, store::FieldInfo::Kind::Counter);
    QVERIFY(notes.fieldInfo(0).readOnly);
    notes.insert();
    notes.setValue(QStringLiteral("TITLOS"), QStringLiteral("Ψώνια"));
    notes.setValue(QStringLiteral("PERIGRAFH"), QStringLiteral("γάλα\r\nψωμί\n\nαυγά"));
    QVERIFY(notes.value(QStringLiteral("ID")).isNull());
    notes.post();
    QCOMPARE(notes.asInteger(QStringLiteral("ID")), 1);
    QCOMPARE(notes.asString(QStringLiteral("PERIGRAFH")), QStringLiteral("γάλα\r\nψωμί\n\nαυγά"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, notes.setValue(QStringLiteral("ID"), 7));
}

void TestDataSet::rowDeletedElsewhereIsReportedOnPost() {
    database_->addContacts({"Α"});
    openContacts();
    store::Execute(database_->connection, QStringLiteral("DELETE FROM XRHSIMA_THLEFWNA"));
    table_->setValue(kName, QStringLiteral("Β"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, table_->post());
    QCOMPARE(table_->state(), State::Edit);
}

void TestDataSet::signalsFollowTheStates() {
    database_->addContacts({"Α", "Β"});
    QSignalSpy states(table_.get(), &DataSet::stateChanged);
    QSignalSpy rows(table_.get(), &DataSet::currentRowChanged);
    QSignalSpy changes(table_.get(), &DataSet::rowChanged);
    openContacts();
    table_->setValue(kName, QStringLiteral("Ω"));
    table_->next();
    QCOMPARE(states.size(), 3);
    QCOMPARE(states.at(0).at(0).value<State>(), State::Browse);
    QCOMPARE(states.at(1).at(0).value<State>(), State::Edit);
    QCOMPARE(states.at(2).at(0).value<State>(), State::Browse);
    QCOMPARE(rows.last().at(0).toInt(), 1);
    QVERIFY(changes.size() >= 1);
    QCOMPARE(changes.first().at(0).toInt(), 0);
}

QTEST_MAIN(TestDataSet)
#include "tst_dataset.moc"
