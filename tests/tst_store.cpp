// The connection to data.mdb, the statements run through it and the shipped
// empty database, on real encrypted files in a temporary working directory.
#include <QFile>
#include <QTest>

#include "TestSupport.h"
#include "core/AppGlobals.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"

using store::Connection;
using store::DatabaseError;

namespace {

QString OpenError(const QString& connectionString) {
    Connection connection;
    try {
        connection.reopen(connectionString);
    } catch (const DatabaseError& error) {
        return error.message();
    }
    return {};
}

// NAME:kind, with the typing limit of a short text.
QString Described(const store::FieldInfo& field) {
    using Kind = store::FieldInfo::Kind;
    switch (field.kind) {
        case Kind::Text:
            return field.name + QStringLiteral(":text%1").arg(field.size);
        case Kind::Memo:
            return field.name + QStringLiteral(":memo");
        case Kind::Date:
            return field.name + QStringLiteral(":date");
        case Kind::Cents:
            return field.name + QStringLiteral(":cents");
        case Kind::Counter:
            return field.name + QStringLiteral(":counter");
        case Kind::Integer:
        case Kind::Real:
            break;
    }
    return field.name + QStringLiteral(":number");
}

int CountRows(Connection& connection, const QString& table) {
    return store::ScalarQuery(connection, QStringLiteral("SELECT count(*) FROM ") + table).toInt();
}

}  // namespace

class TestStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { testsupport::ResetTestHooks(); }
    void cleanup() { testsupport::ResetTestHooks(); }

    void connectionStringHoldsTheFixedPieces();
    void opensTheEmptyDatabase();
    void closingAClosedConnectionDoesNothing();
    void missingFileIsReportedAndNotCreated();
    void wrongPasswordIsRefused();
    void fileThatIsNotADatabaseIsRefused_data();
    void fileThatIsNotADatabaseIsRefused();
    void greekWorkingDirectoryIsUsedUnchanged();
    void twoConnectionsOnOneFile();
    void rowCommittedByOneConnectionIsReadByALaterOne();
    void replacedFileIsNotServedFromAnOldHandle();
    void repeatedDayInsertFailsOnTheKeyAndLeavesOneRow_data();
    void repeatedDayInsertFailsOnTheKeyAndLeavesOneRow();
    void parametersAreBoundNotPasted();
    void emptyDatabaseHasTheSixEmptyTables();
    void rantebouHasExactlyItsColumns();
    void tablesHaveTheirColumnsAndKinds_data();
    void tablesHaveTheirColumnsAndKinds();
    void emptyDatabaseIsUnreadableWithoutTheKey();
    void notesReceiveTheirIdFromTheDatabase();
};

void TestStore::connectionStringHoldsTheFixedPieces() {
    const QString text = store::BuildConnectionString(QStringLiteral("/home/ana/Ημερολόγιο"));
    const store::ConnectionTarget target = store::ParseConnectionString(text);
    QCOMPARE(target.databasePath, QStringLiteral("/home/ana/Ημερολόγιο/data.mdb"));
    QCOMPARE(target.password, QStringLiteral("QT73Nw"));
    QVERIFY(text.contains(QStringLiteral("Password=\"\";Data Source=")));
    QVERIFY(text.contains(QStringLiteral(";Persist Security Info=True;")));

    const QString semicolons = store::BuildConnectionString(QStringLiteral("/tmp/a;b=c"));
    QCOMPARE(store::ParseConnectionString(semicolons).databasePath,
             QStringLiteral("/tmp/a;b=c/data.mdb"));
    QCOMPARE(store::ParseConnectionString(store::BuildConnectionString(QStringLiteral("/")))
                 .databasePath,
             QStringLiteral("/data.mdb"));
}

void TestStore::opensTheEmptyDatabase() {
    testsupport::WorkDir work;
    QCOMPARE(app().AppDirectory, work.path());
    Connection connection;
    connection.reopen(app().AppConnectionString);
    QVERIFY(connection.isOpen());
    QCOMPARE(connection.commandTimeout(), 0);
    QCOMPARE(connection.connectionTimeout(), 0);
    QCOMPARE(store::ScalarQuery(
                 connection, QStringLiteral("select count(*) as synolo from ADMINISTRATOR_ACCOUNT"))
                 .toInt(),
             0);
}

void TestStore::closingAClosedConnectionDoesNothing() {
    testsupport::WorkDir work;
    Connection connection;
    connection.close();
    connection.reopen(work.connectionString());
    connection.close();
    connection.close();
    QVERIFY(!connection.isOpen());
    QVERIFY_THROWS_EXCEPTION(DatabaseError, connection.handle());
}

void TestStore::missingFileIsReportedAndNotCreated() {
    testsupport::WorkDir work;
    QVERIFY(QFile::remove(work.databasePath()));
    const QString message = OpenError(work.connectionString());
    QVERIFY2(message.contains(QStringLiteral("Could not find file")), qPrintable(message));
    QVERIFY(message.contains(work.databasePath()));
    QVERIFY(!QFile::exists(work.databasePath()));
}

void TestStore::wrongPasswordIsRefused() {
    testsupport::WorkDir work;
    QString wrong = work.connectionString();
    wrong.replace(QStringLiteral("Password=QT73Nw"), QStringLiteral("Password=qt73nw"));
    QVERIFY(wrong != work.connectionString());
    const QString message = OpenError(wrong);
    QVERIFY2(message.contains(QStringLiteral("Not a valid password")), qPrintable(message));
    QVERIFY(OpenError(work.connectionString()).isEmpty());
    QVERIFY(!OpenError(wrong).isEmpty());
}

void TestStore::fileThatIsNotADatabaseIsRefused_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("είναι άδειο (0 bytes)");
    QTest::newRow("text") << QByteArray("Name;Phone\nAnna;2101234567\n")
                          << QStringLiteral("Unrecognized database format");
    QByteArray plain("SQLite format 3");
    plain.append('\0');
    plain.append(QByteArray(1024 - plain.size(), '\1'));
    QTest::newRow("unencrypted database") << plain << QStringLiteral("not encrypted");
}

void TestStore::fileThatIsNotADatabaseIsRefused() {
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    testsupport::WorkDir work;
    QVERIFY(QFile::remove(work.databasePath()));
    QFile file(work.databasePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const QString message = OpenError(work.connectionString());
    QVERIFY2(message.contains(expected), qPrintable(message));
    QCOMPARE(QFileInfo(work.databasePath()).size(), qint64(content.size()));
}

void TestStore::greekWorkingDirectoryIsUsedUnchanged() {
    testsupport::WorkDir work(QStringLiteral("Έγγραφα/Ημερολόγιο 2026"));
    QVERIFY(app().AppDirectory.endsWith(QStringLiteral("/Έγγραφα/Ημερολόγιο 2026")));
    Connection connection;
    connection.reopen(app().AppConnectionString);
    store::Execute(connection, QStringLiteral("INSERT INTO NOTES (TITLOS) VALUES (?)"),
                   {QStringLiteral("Ψώνια")});
    QCOMPARE(CountRows(connection, QStringLiteral("NOTES")), 1);
}

void TestStore::twoConnectionsOnOneFile() {
    testsupport::WorkDir work;
    Connection first;
    Connection second;
    first.reopen(work.connectionString());
    second.reopen(work.connectionString());
    QVERIFY(first.handle() != second.handle());
    store::Execute(first, QStringLiteral("INSERT INTO SHMEIWSEIS (HMEROMHNIA) VALUES (?)"),
                   {QStringLiteral("2008-03-14")});
    QCOMPARE(CountRows(second, QStringLiteral("SHMEIWSEIS")), 1);
    store::Execute(second, QStringLiteral("UPDATE SHMEIWSEIS SET KEIMENO = ?"),
                   {QStringLiteral("γραμμή")});
    QCOMPARE(store::ScalarQuery(first, QStringLiteral("SELECT KEIMENO FROM SHMEIWSEIS")).toString(),
             QStringLiteral("γραμμή"));
}

void TestStore::rowCommittedByOneConnectionIsReadByALaterOne() {
    testsupport::WorkDir work;
    {
        Connection writer;
        writer.reopen(work.connectionString());
        store::Command insert(&writer);
        insert.setCommandText(QStringLiteral("INSERT INTO SHMEIWSEIS(HMEROMHNIA) VALUES(?)"));
        insert.setParameters({QStringLiteral("2008-03-14")});
        QCOMPARE(insert.execute(), 1);
        writer.close();
    }
    Connection reader;
    reader.reopen(work.connectionString());
    store::Query notes;
    testsupport::OpenQuery(notes, reader,
                           QStringLiteral("SELECT HMEROMHNIA, KEIMENO FROM SHMEIWSEIS WHERE "
                                          "HMEROMHNIA=?"),
                           {QStringLiteral("2008-03-14")});
    QCOMPARE(notes.recordCount(), 1);
    QCOMPARE(notes.asString(QStringLiteral("KEIMENO")), QString());
    QVERIFY(notes.value(QStringLiteral("KEIMENO")).isNull());
}

void TestStore::replacedFileIsNotServedFromAnOldHandle() {
    testsupport::WorkDir work;
    {
        Connection connection;
        connection.reopen(work.connectionString());
        store::Execute(connection, QStringLiteral("INSERT INTO NOTES (TITLOS) VALUES ('a')"));
    }
    QVERIFY(QFile::remove(work.databasePath()));
    QVERIFY(QFile::copy(QStringLiteral(ORGANIZER_EMPTY_DB), work.databasePath()));
    Connection connection;
    connection.reopen(work.connectionString());
    QCOMPARE(CountRows(connection, QStringLiteral("NOTES")), 0);
    connection.close();
    QVERIFY(QFile::remove(work.databasePath()));
    QVERIFY(OpenError(work.connectionString()).contains(QStringLiteral("Could not find file")));
}

void TestStore::repeatedDayInsertFailsOnTheKeyAndLeavesOneRow_data() {
    QTest::addColumn<QString>("table");
    QTest::newRow("day task table") << QStringLiteral("RANTEBOU");
    QTest::newRow("day notes") << QStringLiteral("SHMEIWSEIS");
}

void TestStore::repeatedDayInsertFailsOnTheKeyAndLeavesOneRow() {
    QFETCH(QString, table);
    testsupport::WorkDir work;
    Connection connection;
    connection.reopen(work.connectionString());
    const QString insert = QStringLiteral("INSERT INTO %1(HMEROMHNIA) VALUES(?)").arg(table);
    store::Execute(connection, insert, {QStringLiteral("2008-03-05")});
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             store::Execute(connection, insert, {QStringLiteral("2008-03-05")}));
    store::Execute(connection, insert, {QStringLiteral("2008-03-06")});
    QCOMPARE(CountRows(connection, table), 2);
}

void TestStore::parametersAreBoundNotPasted() {
    testsupport::WorkDir work;
    Connection connection;
    connection.reopen(work.connectionString());
    const QString hostile = QStringLiteral("x'); DELETE FROM NOTES; --");
    store::Execute(connection, QStringLiteral("INSERT INTO NOTES (TITLOS) VALUES ('keep')"));
    store::Execute(connection, QStringLiteral("INSERT INTO NOTES (TITLOS) VALUES (?)"), {hostile});
    QCOMPARE(CountRows(connection, QStringLiteral("NOTES")), 2);
    QCOMPARE(
        store::ScalarQuery(connection,
                           QStringLiteral("SELECT count(*) FROM NOTES WHERE TITLOS = ?"), {hostile})
            .toInt(),
        1);
}

void TestStore::emptyDatabaseHasTheSixEmptyTables() {
    testsupport::WorkDir work;
    Connection connection;
    connection.reopen(work.connectionString());
    const QStringList names = testsupport::ColumnValues(
        connection, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name "
                                   "NOT LIKE 'sqlite_%' ORDER BY name"));
    QCOMPARE(names, (QStringList{"ADMINISTRATOR_ACCOUNT", "EKSODA", "NOTES", "RANTEBOU",
                                 "SHMEIWSEIS", "XRHSIMA_THLEFWNA"}));
    for (const QString& table : std::as_const(names)) {
        QCOMPARE(CountRows(connection, table), 0);
    }
    QCOMPARE(store::ScalarQuery(connection, QStringLiteral("PRAGMA journal_mode")).toString(),
             QStringLiteral("delete"));
    QCOMPARE(store::ScalarQuery(connection, QStringLiteral("PRAGMA synchronous")).toInt(), 2);
}

void TestStore::rantebouHasExactlyItsColumns() {
    testsupport::WorkDir work;
    Connection connection;
    connection.reopen(work.connectionString());
    store::Query day;
    testsupport::OpenQuery(day, connection,
                           QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=?"),
                           {QStringLiteral("2008-03-05")});
    QCOMPARE(day.fieldCount(), 29);
    QStringList names;
    for (int i = 0; i < day.fieldCount(); ++i) {
        names.append(day.fieldInfo(i).name);
    }
    QCOMPARE(names.takeFirst(), QStringLiteral("HMEROMHNIA"));
    QCOMPARE(names, store::SlotColumns());
    QCOMPARE(names.first(), QStringLiteral("0800-0830"));
    QCOMPARE(names.last(), QStringLiteral("2130-2200"));
    QCOMPARE(day.fieldInfo(1).size, store::kShortTextLength);
}

void TestStore::tablesHaveTheirColumnsAndKinds_data() {
    QTest::addColumn<QString>("table");
    // Each column as NAME:kind, the kind as the bound fields see it.
    QTest::addColumn<QStringList>("columns");
    const QString text = QStringLiteral(":text%1").arg(store::kShortTextLength);
    QTest::newRow("SHMEIWSEIS") << "SHMEIWSEIS" << QStringList{"HMEROMHNIA:date", "KEIMENO:memo"};
    QTest::newRow("NOTES") << "NOTES"
                           << QStringList{"ID:counter", "TITLOS" + text, "PERIGRAFH:memo"};
    QTest::newRow("XRHSIMA_THLEFWNA")
        << "XRHSIMA_THLEFWNA"
        << QStringList{"ONOMATEPWNYMO" + text, "DIEYTHYNSH" + text, "THLEFWNO_1" + text,
                       "THLEFWNO_2" + text,    "FAX" + text,        "EMAIL" + text,
                       "PERIGRAFH" + text};
    QTest::newRow("EKSODA") << "EKSODA"
                            << QStringList{"HMEROMHNIA:date", "POSO:cents", "VAT:cents",
                                           "PERIGRAFH" + text};
    QTest::newRow("ADMINISTRATOR_ACCOUNT")
        << "ADMINISTRATOR_ACCOUNT" << QStringList{"PASSWORD" + text};
}

void TestStore::tablesHaveTheirColumnsAndKinds() {
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    testsupport::WorkDir work;
    Connection connection;
    connection.reopen(work.connectionString());
    store::Table data;
    data.setConnection(&connection);
    data.setTableName(table);
    data.open();
    QStringList seen;
    for (int i = 0; i < data.fieldCount(); ++i) {
        seen.append(Described(data.fieldInfo(i)));
    }
    QCOMPARE(seen, columns);
}

void TestStore::emptyDatabaseIsUnreadableWithoutTheKey() {
    QFile file(QStringLiteral(ORGANIZER_EMPTY_DB));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(!content.startsWith("SQLite format 3"));
    QVERIFY(!content.contains("CREATE TABLE"));
    QVERIFY(!content.contains("RANTEBOU"));
    QCOMPARE(content.size() % 1024, 0);
}

void TestStore::notesReceiveTheirIdFromTheDatabase() {
    testsupport::WorkDir work;
    Connection connection;
    connection.reopen(work.connectionString());
    store::Execute(connection, QStringLiteral("INSERT INTO NOTES (TITLOS) VALUES ('a')"));
    store::Execute(connection, QStringLiteral("INSERT INTO NOTES (TITLOS) VALUES ('a')"));
    store::Execute(connection, QStringLiteral("DELETE FROM NOTES WHERE ID = 2"));
    store::Execute(connection, QStringLiteral("INSERT INTO NOTES (TITLOS) VALUES ('b')"));
    // A deleted note's number is never given to a new one.
    QCOMPARE(store::ScalarQuery(connection, QStringLiteral("SELECT max(ID) FROM NOTES")).toInt(),
             3);
}

QTEST_MAIN(TestStore)
#include "tst_store.moc"
