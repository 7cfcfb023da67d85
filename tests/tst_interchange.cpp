// The organizer's data out and back in: iCalendar, vCard and CSV files
// written from a real database, read back into an empty one, compared row
// by row; files from elsewhere and broken files; the terminal commands of
// the built program.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "access/PasswordHash.h"
#include "interchange/ContactsVCard.h"
#include "interchange/DayCalendar.h"
#include "interchange/ExpensesCsv.h"
#include "interchange/Interchange.h"
#include "interchange/RecordStore.h"
#include "store/Command.h"
#include "store/DataFolderLock.h"
#include "store/DataSet.h"
#include "store/Schema.h"
#include "store/Statement.h"

using interchange::Format;

namespace {

const QString kProgram = QStringLiteral(ORGANIZER_PROGRAM);
const QString kLoginPassword = QStringLiteral("Μυστικό 7");

// Every row of a statement, its columns joined by "|"; NULL and the empty
// text read alike, as they do in every window.
QStringList TableRows(store::Connection& connection, const QString& sql) {
    store::Query query;
    testsupport::OpenQuery(query, connection, sql);
    QStringList rows;
    for (query.first(); !query.eof(); query.next()) {
        QStringList values;
        for (int column = 0; column < query.fieldCount(); ++column) {
            values.append(query.asString(column));
        }
        rows.append(values.join(QLatin1Char('|')));
    }
    rows.sort();
    return rows;
}

QString SlotList() {
    QStringList quoted;
    for (const QString& slot : store::SlotColumns()) {
        quoted.append(store::QuoteIdentifier(slot));
    }
    return quoted.join(QLatin1Char(','));
}

// What each format carries, as the tables hold it.
QStringList FormatRows(store::Connection& connection, Format format) {
    switch (format) {
        case Format::Calendar: {
            QStringList filled;
            for (const QString& slot : store::SlotColumns()) {
                filled.append(
                    QStringLiteral("coalesce(trim(%1),'')<>''").arg(store::QuoteIdentifier(slot)));
            }
            return TableRows(connection,
                             QStringLiteral("SELECT HMEROMHNIA,%1 FROM RANTEBOU WHERE %2")
                                 .arg(SlotList(), filled.join(QLatin1String(" OR ")))) +
                   TableRows(connection,
                             QStringLiteral("SELECT 'note', HMEROMHNIA, KEIMENO FROM SHMEIWSEIS "
                                            "WHERE coalesce(KEIMENO,'')<>''"));
        }
        case Format::Contacts:
            return TableRows(connection, QStringLiteral("SELECT * FROM XRHSIMA_THLEFWNA"));
        case Format::Expenses:
            return TableRows(connection, QStringLiteral("SELECT * FROM EKSODA"));
    }
    return {};
}

void SetSlot(store::Connection& connection, const QString& date, int slot, const QString& text) {
    store::Execute(connection,
                   QStringLiteral("INSERT OR IGNORE INTO RANTEBOU (HMEROMHNIA) VALUES (?)"),
                   {date});
    store::Execute(connection,
                   QStringLiteral("UPDATE RANTEBOU SET %1 = ? WHERE HMEROMHNIA = ?")
                       .arg(store::QuoteIdentifier(store::SlotColumns().at(slot))),
                   {text, date});
}

void SetNote(store::Connection& connection, const QString& date, const QString& text) {
    store::Execute(connection,
                   QStringLiteral("INSERT INTO SHMEIWSEIS (HMEROMHNIA, KEIMENO) VALUES (?, ?)"),
                   {date, text});
}

void AddContact(store::Connection& connection, const QVariantList& fields) {
    store::Execute(connection,
                   QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO, DIEYTHYNSH, "
                                  "THLEFWNO_1, THLEFWNO_2, FAX, EMAIL, PERIGRAFH) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                   fields);
}

void AddExpense(store::Connection& connection, const QVariantList& fields) {
    store::Execute(connection,
                   QStringLiteral("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) "
                                  "VALUES (?, ?, ?, ?)"),
                   fields);
}

// A text of n characters, each two octets in UTF-8.
QString GreekText(int n, char16_t letter = 0x03A9) {
    return QString(n, QChar(letter));
}

// How a message quotes a long text: its first 40 characters.
QString Quoted(const QString& text) {
    return text.left(40) + QChar(0x2026);
}

const QString kAwkwardText = QStringLiteral("Σύσκεψη, \"Α\"; γραφείο \\ 2ος όροφος");

// The rows a round trip starts from; "extra" adds the rows that only the
// harder cases carry.
void FillCalendar(store::Connection& connection, bool extra) {
    SetSlot(connection, QStringLiteral("2008-02-29"), 0, QStringLiteral("Γιατρός"));
    SetSlot(connection, QStringLiteral("2008-02-29"), 27, kAwkwardText);
    SetSlot(connection, QStringLiteral("2026-07-15"), 13, QStringLiteral("Lunch με τη Μαρία"));
    SetNote(connection, QStringLiteral("2008-02-29"),
            QStringLiteral("Πρώτη γραμμή\nΔεύτερη; γραμμή, με κόμμα\n\nΤρίτη \\ τέλος"));
    if (extra) {
        // A day whose slots were emptied again exports nothing.
        store::Execute(connection,
                       QStringLiteral("INSERT INTO RANTEBOU (HMEROMHNIA) VALUES ('2009-01-01')"));
        SetSlot(connection, QStringLiteral("2026-12-31"), 20, QString(255, QChar(0x03A9)));
        SetNote(connection, QStringLiteral("2026-12-30"),
                QStringLiteral("Σημείωση χωρίς εργασίες"));
    }
}

void FillContacts(store::Connection& connection, bool extra) {
    AddContact(connection, {QStringLiteral("Παπαδόπουλος Γιώργος"),
                            QStringLiteral("Ερμού 12, 105 63 Αθήνα"), QStringLiteral("210 1234567"),
                            QStringLiteral("697 1234567"), QStringLiteral("210 7654321"),
                            QStringLiteral("gp@example.gr"), QStringLiteral("Λογιστής")});
    AddContact(connection, {QStringLiteral("Only Second Phone"), QVariant(), QVariant(),
                            QStringLiteral("+30 2310 000000"), QVariant(), QVariant(), QVariant()});
    if (extra) {
        AddContact(connection, {kAwkwardText, QStringLiteral("Οδός; με\nνέα γραμμή, και κόμμα"),
                                QVariant(), QVariant(), QStringLiteral("fax;1"), QVariant(),
                                QStringLiteral("σημείωση\\n όχι νέα γραμμή")});
        AddContact(connection,
                   {QStringLiteral("Παπαδόπουλος Γιώργος"), QVariant(), QStringLiteral("2"),
                    QVariant(), QVariant(), QVariant(), QString(120, QChar(0x03B1))});
    }
}

void FillExpenses(store::Connection& connection, bool extra) {
    AddExpense(connection, {QStringLiteral("2008-02-29"), 1250, 300, QStringLiteral("Καφές")});
    AddExpense(connection, {QStringLiteral("2026-07-01"), 123456789, 0, kAwkwardText});
    if (extra) {
        AddExpense(connection, {QStringLiteral("2026-07-02"), -5, QVariant(),
                                QStringLiteral(" δύο\nγραμμές ")});
        AddExpense(connection, {QStringLiteral("2026-07-02"), 7, 1, QVariant()});
        // The same expense twice is two expenses.
        AddExpense(connection, {QStringLiteral("2026-07-02"), 7, 1, QVariant()});
    }
}

void Fill(store::Connection& connection, Format format, bool extra) {
    switch (format) {
        case Format::Calendar:
            FillCalendar(connection, extra);
            break;
        case Format::Contacts:
            FillContacts(connection, extra);
            break;
        case Format::Expenses:
            FillExpenses(connection, extra);
            break;
    }
}

void WriteFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(contents);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Calendar(const QByteArray& items) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + items + "END:VCALENDAR\r\n";
}

QByteArray Event(const QByteArray& start, const QByteArray& end, const QByteArray& summary) {
    QByteArray event =
        "BEGIN:VEVENT\r\nUID:" + summary + start + "\r\nDTSTAMP:20080101T000000Z\r\n";
    event += "DTSTART" + start + "\r\n";
    if (!end.isEmpty()) {
        event += "DTEND" + end + "\r\n";
    }
    return event + "SUMMARY:" + summary + "\r\nEND:VEVENT\r\n";
}

// The slots of the table as "date slot=text" lines.
QStringList FilledSlots(store::Connection& connection) {
    QStringList filled;
    for (const interchange::DayTasks& day : interchange::ReadDayTasks(connection, {})) {
        for (int slot = 0; slot < day.slotTexts.size(); ++slot) {
            if (!day.slotTexts.at(slot).isEmpty()) {
                filled.append(QStringLiteral("%1 %2=%3")
                                  .arg(day.date.toString(Qt::ISODate),
                                       store::SlotColumns().at(slot), day.slotTexts.at(slot)));
            }
        }
    }
    return filled;
}

}  // namespace

class TestInterchange : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { testsupport::ResetTestHooks(); }
    void cleanup() { testsupport::ResetTestHooks(); }

    void roundTrip_data();
    void roundTrip();
    void importingTwiceAddsNothing_data();
    void importingTwiceAddsNothing();
    void badFilesImportNothing_data();
    void badFilesImportNothing();
    void eventsFindTheirSlots_data();
    void eventsFindTheirSlots();
    void longDescriptionsRefuseTheFile_data();
    void longDescriptionsRefuseTheFile();
    void longContactFieldsSkipTheContact_data();
    void longContactFieldsSkipTheContact();
    void longSlotTextsAreListed_data();
    void longSlotTextsAreListed();
    void exportCoversTheRange();
    void oneItemKeepsItsIdentity_data();
    void oneItemKeepsItsIdentity();
    void foreignVCards_data();
    void foreignVCards();
    void vCard21Files_data();
    void vCard21Files();
    void foldingKeepsCharactersWhole_data();
    void foldingKeepsCharactersWhole();
    void otherParsersAcceptTheFiles_data();
    void otherParsersAcceptTheFiles();
    void terminalCommands_data();
    void terminalCommands();
};

void TestInterchange::roundTrip_data() {
    QTest::addColumn<Format>("format");
    QTest::addColumn<bool>("extra");
    // Set: the file comes back with a UTF-8 byte-order mark before it, as
    // programs of another system save it (the csv has one of its own).
    QTest::addColumn<bool>("markAdded");
    QTest::newRow("ics") << Format::Calendar << false << false;
    QTest::newRow("ics: long and awkward texts, emptied days") << Format::Calendar << true << false;
    QTest::newRow("ics with a byte-order mark") << Format::Calendar << false << true;
    QTest::newRow("vcf") << Format::Contacts << false << false;
    QTest::newRow("vcf: separators, newlines, equal names") << Format::Contacts << true << false;
    QTest::newRow("vcf with a byte-order mark") << Format::Contacts << false << true;
    QTest::newRow("csv") << Format::Expenses << false << false;
    QTest::newRow("csv: empty fields, negative, doubled rows") << Format::Expenses << true << false;
}

// Export, then import into an empty database: the same rows.
void TestInterchange::roundTrip() {
    QFETCH(Format, format);
    QFETCH(bool, extra);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("out"));
    testsupport::TestDatabase source;
    Fill(source.connection, format, extra);
    const QStringList expected = FormatRows(source.connection, format);

    const interchange::Outcome exported =
        interchange::ExportFile(source.connection, format, path, {});
    QFETCH(bool, markAdded);
    if (markAdded) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray text = file.readAll();
        file.seek(0);
        file.write("\xEF\xBB\xBF" + text);
    }
    testsupport::TestDatabase target;
    const interchange::Outcome imported = interchange::ImportFile(target.connection, format, path);

    QCOMPARE(FormatRows(target.connection, format), expected);
    QCOMPARE(imported.written, exported.written);
    QVERIFY2(imported.notes.isEmpty(), qPrintable(imported.notes.join(QLatin1Char('\n'))));
    QCOMPARE(imported.skipped, 0);
}

void TestInterchange::importingTwiceAddsNothing_data() {
    roundTrip_data();
}

void TestInterchange::importingTwiceAddsNothing() {
    QFETCH(Format, format);
    QFETCH(bool, extra);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("out"));
    testsupport::TestDatabase database;
    Fill(database.connection, format, extra);
    const QStringList before = FormatRows(database.connection, format);
    const interchange::Outcome exported =
        interchange::ExportFile(database.connection, format, path, {});

    const interchange::Outcome again = interchange::ImportFile(database.connection, format, path);

    QCOMPARE(FormatRows(database.connection, format), before);
    QCOMPARE(again.written, 0);
    QCOMPARE(again.skipped, exported.written);
}

void TestInterchange::badFilesImportNothing_data() {
    QTest::addColumn<Format>("format");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    const QByteArray goodEvent =
        Event(";TZID=Europe/Athens:20080314T090000", ";TZID=Europe/Athens:20080314T093000", "Α");
    QTest::newRow("ics cut short inside an event")
        << Format::Calendar
        << ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + goodEvent + "BEGIN:VEVENT\r\nUID:x\r\nDTSTA")
        << "line 10: BEGIN:VEVENT is never closed: the file is cut short";
    QTest::newRow("ics without its END:VCALENDAR")
        << Format::Calendar << ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + goodEvent)
        << "line 1: BEGIN:VCALENDAR is never closed";
    QTest::newRow("ics with a line that is no property")
        << Format::Calendar << Calendar(goodEvent + "just some words\r\n")
        << "line 11: 'just some words' is not an iCalendar line";
    QTest::newRow("ics in a Greek code page")
        << Format::Calendar
        << Calendar(Event(":20080314T100000", ":20080314T103000", "\xc1\xe8\xe7\xed\xe1"))
        << "line 5: the text is not UTF-8";
    QTest::newRow("ics with a time zone that changes every minute")
        << Format::Calendar
        << Calendar(
               "BEGIN:VTIMEZONE\r\nTZID:X\r\nBEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0200\r\n"
               "TZOFFSETTO:+0300\r\nDTSTART:19700101T030000\r\nRRULE:FREQ=MINUTELY\r\n"
               "END:DAYLIGHT\r\nEND:VTIMEZONE\r\n" +
               Event(";TZID=X:29990314T090000", QByteArray(), "Α"))
        << "a time zone of the file changes more than 4 times a year (RRULE:FREQ=MINUTELY)";
    QTest::newRow("ics that is no calendar") << Format::Calendar << QByteArray("hello: world\r\n")
                                             << "line 1: a line outside BEGIN:VCALENDAR";
    QTest::newRow("vcf with a bad line")
        << Format::Contacts
        << QByteArray(
               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Α\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Β\r\nTEL 210\r\nEND:VCARD\r\n")
        << "line 8: 'TEL 210' is not a vCard property (no colon)";
    QTest::newRow("vcf with quotes in a property name")
        << Format::Contacts << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\n\"FN\":Α\r\nEND:VCARD\r\n")
        << "line 3: '\"FN\"' is not a property name";
    QTest::newRow("vcf without END:VCARD")
        << Format::Contacts
        << QByteArray(
               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Α\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Β\r\n")
        << "line 5: the vCard that begins here has no END:VCARD";
    QTest::newRow("vcf of an unknown version")
        << Format::Contacts << QByteArray("BEGIN:VCARD\r\nVERSION:5.0\r\nFN:Α\r\nEND:VCARD\r\n")
        << "line 2: vCard version '5.0' is not known";
    QTest::newRow("vcf that is not UTF-8")
        << Format::Contacts
        << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xc1\xe8\r\nEND:VCARD\r\n")
        << "line 3: the text is not UTF-8";
    QTest::newRow("csv with a wrong column count")
        << Format::Expenses
        << QByteArray(
               "date;amount;vat;description\r\n01/02/2008;1,00;0,24;Α\r\n"
               "02/02/2008;1,00;Β\r\n")
        << "line 3: 3 fields where 4 belong";
    QTest::newRow("csv with a point as decimal separator")
        << Format::Expenses << QByteArray("01/02/2008;1,00;0,24;Α\r\n02/02/2008;12.50;0;Β\r\n")
        << "line 2: the amount '12.50' is not an amount";
    QTest::newRow("csv with a day that does not exist")
        << Format::Expenses << QByteArray("29/02/2007;1,00;0,24;Α\r\n")
        << "line 1: '29/02/2007' is not a date of the form dd/MM/yyyy";
    QTest::newRow("csv with a quote left open")
        << Format::Expenses << QByteArray("01/02/2008;1,00;0,24;Α\r\n02/02/2008;1;0;\"Β;\r\n")
        << "line 2: a quoted field is not closed";
    QTest::newRow("csv in a Greek code page")
        << Format::Expenses << QByteArray("01/02/2008;1,00;0,24;A\r\n01/02/2008;1,00;0,24;\xc1\r\n")
        << "line 2: the text is not UTF-8";
}

// The file is refused with its line, and the tables keep exactly what they
// held: the good items before the bad line are not added either.
void TestInterchange::badFilesImportNothing() {
    QFETCH(Format, format);
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("bad"));
    WriteFile(path, contents);
    testsupport::TestDatabase database;
    Fill(database.connection, format, false);
    const QStringList before = FormatRows(database.connection, format);

    try {
        interchange::ImportFile(database.connection, format, path);
        QFAIL("the bad file was imported");
    } catch (const interchange::InterchangeError& error) {
        QVERIFY2(error.message().startsWith(message), qPrintable(error.message()));
    }
    QCOMPARE(FormatRows(database.connection, format), before);
}

void TestInterchange::eventsFindTheirSlots_data() {
    QTest::addColumn<QByteArray>("items");
    QTest::addColumn<QStringList>("slotTexts");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("note");
    const QByteArray athens = ";TZID=Europe/Athens:";
    QTest::newRow("off the boundary: the slot it starts in and the one it reaches")
        << Event(athens + "20080314T091000", athens + "20080314T094000", "Α")
        << QStringList{"2008-03-14 0900-0930=Α", "2008-03-14 0930-1000=Α"} << 0 << QString();
    QTest::newRow("an hour and a half: three slots")
        << Event(athens + "20080314T100000", athens + "20080314T113000", "Β")
        << QStringList{"2008-03-14 1000-1030=Β", "2008-03-14 1030-1100=Β", "2008-03-14 1100-1130=Β"}
        << 0 << QString();
    QTest::newRow("no end: the slot it starts in")
        << Event(athens + "20080314T101500", QByteArray(), "Γ")
        << QStringList{"2008-03-14 1000-1030=Γ"} << 0 << QString();
    QTest::newRow("two events in one slot are joined")
        << Event(athens + "20080314T100000", athens + "20080314T103000", "Α") +
               Event(athens + "20080314T101500", athens + "20080314T102000", "Β")
        << QStringList{"2008-03-14 1000-1030=Α / Β"} << 0 << QString();
    QTest::newRow("UTC in winter is two hours behind")
        << Event(":20080114T080000Z", ":20080114T083000Z", "Δ")
        << QStringList{"2008-01-14 1000-1030=Δ"} << 0 << QString();
    QTest::newRow("UTC in summer is three hours behind")
        << Event(":20080714T080000Z", ":20080714T083000Z", "Ε")
        << QStringList{"2008-07-14 1100-1130=Ε"} << 0 << QString();
    QTest::newRow("floating time is taken as local")
        << Event(":20080714T200000", ":20080714T203000", "Ζ")
        << QStringList{"2008-07-14 2000-2030=Ζ"} << 0 << QString();
    QTest::newRow("an all-day event is listed")
        << Event(";VALUE=DATE:20080314", ";VALUE=DATE:20080315", "Γιορτή") << QStringList{} << 1
        << "14/03/2008 'Γιορτή': an all-day event fits no half-hour slot";
    QTest::newRow("before 08:00 is listed")
        << Event(athens + "20080314T060000", athens + "20080314T070000", "Πρωί") << QStringList{}
        << 1 << "14/03/2008 06:00 'Πρωί': outside the slots of 08:00 to 22:00";
    QTest::newRow("past 22:00 only the part inside is placed")
        << Event(athens + "20080314T213000", athens + "20080314T230000", "Βράδυ")
        << QStringList{"2008-03-14 2130-2200=Βράδυ"} << 0
        << "14/03/2008 21:30 'Βράδυ': only its part between 08:00 and 22:00 was placed";
    QTest::newRow("a to-do is listed")
        << QByteArray(
               "BEGIN:VTODO\r\nUID:t\r\nDTSTAMP:20080101T000000Z\r\nSUMMARY:Ψώνια\r\n"
               "END:VTODO\r\n")
        << QStringList{} << 1 << "VTODO 'Ψώνια': the day table holds no such item";
    QTest::newRow("a fold inside a character")
        << QByteArray(
               "BEGIN:VEVENT\r\nUID:f\r\nDTSTAMP:20080101T000000Z\r\n"
               "DTSTART;TZID=Europe/Athens:20080314T100000\r\n"
               "DTEND;TZID=Europe/Athens:20080314T103000\r\nSUMMARY:\xce\r\n \xb1\xce\xb2\r\n"
               "END:VEVENT\r\n")
        << QStringList{"2008-03-14 1000-1030=αβ"} << 0 << QString();
    QTest::newRow("CR and form feed are line breaks, a backspace is left out")
        << Event(":20080314T100000", ":20080314T103000", "Α\rΒ\fΓ\bΔ")
        << QStringList{"2008-03-14 1000-1030=Α\nΒ\nΓΔ"} << 0 << QString();
    QTest::newRow("a backslash before what is no escape is kept with its character")
        << Event(":20080314T100000", ":20080314T103000", "C:\\Docs\\temp \\θ\\, \\\\ \\n\\")
        << QStringList{"2008-03-14 1000-1030=C:\\Docs\\temp \\θ, \\ \n\\"} << 0 << QString();
    QTest::newRow("a floating time in month 13 is listed")
        << Event(":20081314T100000", ":20081314T103000", "Μ") << QStringList{} << 1
        << "event 'Μ': its start or end is not a real date and time";
    QTest::newRow("an end in month 13 is listed")
        << Event(":20080314T100000", ":20081314T103000", "Μ") << QStringList{} << 1
        << "event 'Μ': its start or end is not a real date and time";
    QTest::newRow("after the year 3000, which libical cannot write, is listed")
        << Event(":30010314T100000", ":30010314T103000", "Ν") << QStringList{} << 1
        << "event 'Ν': its start or end is not a real date and time";
    QTest::newRow("notes of a day that does not exist are listed")
        << QByteArray(
               "BEGIN:VJOURNAL\r\nUID:j\r\nDTSTAMP:20080101T000000Z\r\n"
               "DTSTART;VALUE=DATE:20070229\r\nDESCRIPTION:Σημείωση\r\nEND:VJOURNAL\r\n")
        << QStringList{} << 1 << "a journal entry without a date ('Σημείωση')";
    QTest::newRow("an event without a summary is listed")
        << Event(athens + "20080314T100000", athens + "20080314T103000", "") << QStringList{} << 1
        << "14/03/2008 10:00 '': an event without a summary";
}

void TestInterchange::eventsFindTheirSlots() {
    QFETCH(QByteArray, items);
    QFETCH(QStringList, slotTexts);
    QFETCH(int, skipped);
    QFETCH(QString, note);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("in.ics"));
    WriteFile(path, Calendar(items));
    testsupport::TestDatabase database;

    const interchange::Outcome outcome =
        interchange::ImportFile(database.connection, Format::Calendar, path);

    QCOMPARE(FilledSlots(database.connection), slotTexts);
    QCOMPARE(outcome.skipped, skipped);
    QCOMPARE(outcome.notes, note.isEmpty() ? QStringList() : QStringList{note});
}

void TestInterchange::longDescriptionsRefuseTheFile_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("message");
    const QString tooLong = QStringLiteral(
        "line 2: the description has 256 characters, more than the 255 an expense's description "
        "holds");
    QTest::newRow("256 Latin characters") << QString(256, QLatin1Char('x')) << tooLong;
    QTest::newRow("256 Greek characters") << GreekText(256) << tooLong;
    QTest::newRow("256 with a line break inside the quotes")
        << GreekText(100) + QLatin1Char('\n') + GreekText(155) << tooLong;
    QTest::newRow("255 Greek characters, 510 octets") << GreekText(255) << QString();
    QTest::newRow("255 Latin characters") << QString(255, QLatin1Char('x')) << QString();
}

// A description longer than the register's column makes the line
// malformed: the whole file is refused.
void TestInterchange::longDescriptionsRefuseTheFile() {
    QFETCH(QString, description);
    QFETCH(QString, message);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("in.csv"));
    WriteFile(path, "01/02/2008;1,00;0,24;Α\r\n02/02/2008;2,00;0,48;\"" + description.toUtf8() +
                        "\"\r\n03/02/2008;3,00;0,72;Β\r\n");
    testsupport::TestDatabase database;
    FillExpenses(database.connection, false);
    const QStringList before = FormatRows(database.connection, Format::Expenses);

    try {
        interchange::ImportFile(database.connection, Format::Expenses, path);
        QVERIFY2(message.isEmpty(), "the file with a too long description was imported");
    } catch (const interchange::InterchangeError& error) {
        QCOMPARE(error.message(), message);
        QCOMPARE(FormatRows(database.connection, Format::Expenses), before);
        return;
    }
    QCOMPARE(FormatRows(database.connection, Format::Expenses).size(), before.size() + 3);
    QCOMPARE(
        TableRows(database.connection,
                  QStringLiteral("SELECT PERIGRAFH FROM EKSODA WHERE HMEROMHNIA = '2008-02-02'")),
        QStringList{description});
}

void TestInterchange::longContactFieldsSkipTheContact_data() {
    QTest::addColumn<QByteArray>("card");
    QTest::addColumn<QString>("note");
    const QString limit = QStringLiteral(", more than the 255 a contact's field holds");
    QTest::newRow("a name of 256 Greek characters")
        << "FN:" + GreekText(256).toUtf8()
        << "line 5: " + Quoted(GreekText(256)) + ": not imported, the name has 256 characters" +
               limit;
    QTest::newRow("an address whose parts join to 256 characters")
        << "FN:Βασίλης\r\nADR:;;" + GreekText(200).toUtf8() + ";" + GreekText(54).toUtf8() + ";;;"
        << "line 5: Βασίλης: not imported, the address has 256 characters" + limit;
    QTest::newRow("a second telephone and a note, both too long")
        << "FN:Βασίλης\r\nTEL:1\r\nTEL:" + QByteArray(300, '9') +
               "\r\nNOTE:" + GreekText(256).toUtf8()
        << "line 5: Βασίλης: not imported, the telephone 2 has 300 characters, the description "
           "has 256 characters" +
               limit;
    QTest::newRow("every field 255 Greek characters")
        << "FN:" + GreekText(255).toUtf8() + "\r\nADR:" + GreekText(255).toUtf8() +
               "\r\nTEL:" + GreekText(255).toUtf8() + "\r\nEMAIL:" + GreekText(255).toUtf8() +
               "\r\nNOTE:" + GreekText(255).toUtf8()
        << QString();
}

// A contact with a field longer than its column is listed and left out;
// the contacts around it are imported.
void TestInterchange::longContactFieldsSkipTheContact() {
    QFETCH(QByteArray, card);
    QFETCH(QString, note);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("in.vcf"));
    WriteFile(path,
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Άννα\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\n" +
                  card +
                  "\r\nEND:VCARD\r\n"
                  "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Γιώργος\r\nEND:VCARD\r\n");
    testsupport::TestDatabase database;

    const interchange::Outcome outcome =
        interchange::ImportFile(database.connection, Format::Contacts, path);

    const QStringList names = TableRows(
        database.connection, QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA"));
    // Sorted: Ά, Γ, then Ω.
    QStringList expected{QStringLiteral("Άννα"), QStringLiteral("Γιώργος")};
    if (note.isEmpty()) {
        expected.append(GreekText(255));
    }
    QCOMPARE(names, expected);
    QCOMPARE(outcome.written, expected.size());
    QCOMPARE(outcome.skipped, note.isEmpty() ? 0 : 1);
    QCOMPARE(outcome.notes, note.isEmpty() ? QStringList() : QStringList{note});
}

void TestInterchange::longSlotTextsAreListed_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QByteArray>("items");
    QTest::addColumn<QStringList>("slotTexts");
    QTest::addColumn<QStringList>("notes");
    const QByteArray athens = ";TZID=Europe/Athens:";
    const QString limit = QStringLiteral(" characters, more than the 255 a slot holds");
    const QString alphas = GreekText(200, 0x03B1);
    const QString betas = GreekText(60, 0x03B2);
    const QString held = GreekText(250, 0x03B3);
    QTest::newRow("a summary of 256 characters")
        << QString()
        << Event(athens + "20080314T100000", athens + "20080314T103000", GreekText(256).toUtf8())
        << QStringList{}
        << QStringList{"14/03/2008 10:00 '" + Quoted(GreekText(256)) + "': the summary has 256" +
                       limit};
    QTest::newRow("two events of the file that do not fit one slot together")
        << QString()
        << Event(athens + "20080314T100000", athens + "20080314T103000", alphas.toUtf8()) +
               Event(athens + "20080314T101500", athens + "20080314T103000", betas.toUtf8())
        << QStringList{"2008-03-14 1000-1030=" + alphas}
        << QStringList{"14/03/2008 1000-1030: '" + Quoted(betas) + "' does not fit beside '" +
                       Quoted(alphas) + "': together 263" + limit};
    QTest::newRow("an event that does not fit beside the stored text")
        << held << Event(athens + "20080314T100000", athens + "20080314T103000", "Γιατρός")
        << QStringList{"2008-03-14 1000-1030=" + held}
        << QStringList{"14/03/2008 1000-1030: 'Γιατρός' does not fit beside '" + Quoted(held) +
                       "': together 260" + limit};
    QTest::newRow("over two slots: the full one is listed, the free one filled")
        << held << Event(athens + "20080314T100000", athens + "20080314T110000", "Γιατρός")
        << QStringList{"2008-03-14 1000-1030=" + held, "2008-03-14 1030-1100=Γιατρός"}
        << QStringList{"14/03/2008 1000-1030: 'Γιατρός' does not fit beside '" + Quoted(held) +
                       "': together 260" + limit};
    QTest::newRow("a summary of 255 Greek characters")
        << QString()
        << Event(athens + "20080314T100000", athens + "20080314T103000", GreekText(255).toUtf8())
        << QStringList{"2008-03-14 1000-1030=" + GreekText(255)} << QStringList{};
    QTest::newRow("joined to the stored text: exactly 255")
        << GreekText(248, 0x03B3)
        << Event(athens + "20080314T100000", athens + "20080314T103000", "Αβγδ")
        << QStringList{"2008-03-14 1000-1030=" + GreekText(248, 0x03B3) + " / Αβγδ"}
        << QStringList{};
}

// An event that a slot cannot take whole is listed, and the slot keeps
// what it had.
void TestInterchange::longSlotTextsAreListed() {
    QFETCH(QString, stored);
    QFETCH(QByteArray, items);
    QFETCH(QStringList, slotTexts);
    QFETCH(QStringList, notes);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("in.ics"));
    WriteFile(path, Calendar(items));
    testsupport::TestDatabase database;
    if (!stored.isEmpty()) {
        SetSlot(database.connection, QStringLiteral("2008-03-14"), 4, stored);
    }

    const interchange::Outcome outcome =
        interchange::ImportFile(database.connection, Format::Calendar, path);

    QCOMPARE(FilledSlots(database.connection), slotTexts);
    QCOMPARE(outcome.notes, notes);
    QCOMPARE(outcome.skipped, notes.size());
}

void TestInterchange::exportCoversTheRange() {
    QTemporaryDir files;
    testsupport::TestDatabase database;
    FillCalendar(database.connection, true);
    FillExpenses(database.connection, true);
    const interchange::DateRange range{QDate(2008, 2, 29), QDate(2026, 7, 1)};

    interchange::ExportFile(database.connection, Format::Calendar,
                            files.filePath(QStringLiteral("a.ics")), range);
    interchange::ExportFile(database.connection, Format::Expenses,
                            files.filePath(QStringLiteral("a.csv")), range);

    interchange::Outcome outcome;
    const interchange::CalendarContent calendar =
        interchange::ReadCalendar(ReadFile(files.filePath(QStringLiteral("a.ics"))), outcome);
    QCOMPARE(calendar.days.size(), 1);
    QCOMPARE(calendar.days.at(0).date, QDate(2008, 2, 29));
    QCOMPARE(calendar.notes.size(), 1);
    const QVector<interchange::Expense> expenses =
        interchange::ReadExpensesCsv(ReadFile(files.filePath(QStringLiteral("a.csv"))), outcome);
    QCOMPARE(expenses.size(), 2);
    QCOMPARE(expenses.at(1).date, QDate(2026, 7, 1));
}

void TestInterchange::oneItemKeepsItsIdentity_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("uid");
    QTest::newRow("a slot") << "slot"
                            << "20080229-2130-2200@kavelo-organizer";
    QTest::newRow("the notes of a day") << "note"
                                        << "20080229-notes@kavelo-organizer";
    QTest::newRow("a contact") << "contact"
                               << "urn:uuid:";
}

// What a calendar or address-book server would store for one item: a
// whole file of its own that reads back to the item, with the same UID at
// every export.
void TestInterchange::oneItemKeepsItsIdentity() {
    QFETCH(QString, item);
    QFETCH(QString, uid);
    const QDate day(2008, 2, 29);
    const interchange::DayNote note{day, QStringLiteral("Α\nΒ")};
    const interchange::Contact contact{kAwkwardText, {}, QStringLiteral("1"), {}, {}, {}, {}};
    const auto text = [&](const QDateTime& stamp) {
        if (item == QLatin1String("slot")) {
            return interchange::SlotEventCalendar(day, 27, kAwkwardText, stamp);
        }
        if (item == QLatin1String("note")) {
            return interchange::NoteJournalCalendar(note, stamp);
        }
        return interchange::WriteVCard(contact, interchange::ContactUid(contact, 0));
    };
    const QByteArray first = text(QDateTime(day, QTime(9, 0), Qt::UTC));
    const QByteArray later = text(QDateTime(day.addYears(1), QTime(9, 0), Qt::UTC));
    const auto uidLine = [](const QByteArray& file) {
        const qsizetype start = file.indexOf("\nUID:") + 5;
        return file.mid(start, file.indexOf('\r', start) - start);
    };

    QVERIFY2(uidLine(first).startsWith(uid.toUtf8()), first.constData());
    QCOMPARE(uidLine(later), uidLine(first));
    interchange::Outcome outcome;
    if (item == QLatin1String("contact")) {
        QCOMPARE(interchange::ReadVCards(first, outcome), QVector<interchange::Contact>{contact});
        QVERIFY(interchange::ContactUid(contact, 1) != interchange::ContactUid(contact, 0));
        return;
    }
    const interchange::CalendarContent content = interchange::ReadCalendar(first, outcome);
    if (item == QLatin1String("slot")) {
        QCOMPARE(content.days.size(), 1);
        QCOMPARE(content.days.at(0).date, day);
        QCOMPARE(content.days.at(0).slotTexts.at(27), kAwkwardText);
        QVERIFY(content.notes.isEmpty());
    } else {
        QVERIFY(content.days.isEmpty());
        QCOMPARE(content.notes, QVector<interchange::DayNote>{note});
    }
}

void TestInterchange::foreignVCards_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("contacts");
    QTest::addColumn<QStringList>("notes");
    // The example of the vCard 4.0 RFC (RFC 6350, section 8).
    QTest::newRow("RFC 6350 example")
        << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Simon Perreault\r\n"
                      "N:Perreault;Simon;;;ing. jr,M.Sc.\r\nBDAY:--0203\r\n"
                      "ANNIVERSARY:20090808T1430-0500\r\nGENDER:M\r\nLANG;PREF=1:fr\r\n"
                      "LANG;PREF=2:en\r\nORG;TYPE=work:Viagenie\r\n"
                      "ADR;TYPE=work:;Suite D2-630;2875 Laurier;\r\n"
                      " Quebec;QC;G1V 2M2;Canada\r\n"
                      "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-418-656-9254;ext=102\r\n"
                      "TEL;VALUE=uri;TYPE=\"work,cell,voice,video,text\":tel:+1-418-262-6501\r\n"
                      "EMAIL;TYPE=work:simon.perreault@viagenie.ca\r\n"
                      "GEO;TYPE=work:geo:46.772673,-71.282945\r\n"
                      "KEY;TYPE=work;VALUE=uri:\r\n"
                      " http://www.viagenie.ca/simon.perreault/simon.asc\r\n"
                      "TZ:-0500\r\nURL;TYPE=home:http://nomis80.org\r\nEND:VCARD\r\n")
        << QStringList{"Simon Perreault|Suite D2-630, 2875 Laurier, Quebec, QC, G1V 2M2, "
                       "Canada|+1-418-656-9254;ext=102|+1-418-262-6501||"
                       "simon.perreault@viagenie.ca|"}
        << QStringList{"Simon Perreault: not imported, no such field here: BDAY, ANNIVERSARY, "
                       "GENDER, LANG, ORG, GEO, KEY, TZ, URL"};
    // The two examples of the vCard 3.0 RFC (RFC 2426, section 7).
    QTest::newRow("RFC 2426 examples")
        << QByteArray("BEGIN:vCard\r\nVERSION:3.0\r\nFN:Frank Dawson\r\n"
                      "ORG:Lotus Development Corporation\r\n"
                      "ADR;TYPE=WORK,POSTAL,PARCEL:;;6544 Battleford Drive\r\n"
                      " ;Raleigh;NC;27613-3502;U.S.A.\r\n"
                      "TEL;TYPE=VOICE,MSG,WORK:+1-919-676-9515\r\n"
                      "TEL;TYPE=FAX,WORK:+1-919-676-9564\r\n"
                      "EMAIL;TYPE=INTERNET,PREF:Frank_Dawson@Lotus.com\r\n"
                      "EMAIL;TYPE=INTERNET:fdawson@earthlink.net\r\n"
                      "URL:http://home.earthlink.net/~fdawson\r\nEND:vCard\r\n\r\n"
                      "BEGIN:vCard\r\nVERSION:3.0\r\nFN:Tim Howes\r\n"
                      "ORG:Netscape Communications Corp.\r\n"
                      "ADR;TYPE=WORK:;;501 E. Middlefield Rd.;Mountain View;\r\n"
                      " CA; 94043;U.S.A.\r\n"
                      "TEL;TYPE=VOICE,MSG,WORK:+1-415-937-3419\r\n"
                      "TEL;TYPE=FAX,WORK:+1-415-528-4164\r\n"
                      "EMAIL;TYPE=INTERNET:howes@netscape.com\r\nEND:vCard\r\n")
        << QStringList{"Frank Dawson|6544 Battleford Drive, Raleigh, NC, 27613-3502, "
                       "U.S.A.|+1-919-676-9515||+1-919-676-9564|Frank_Dawson@Lotus.com|",
                       "Tim Howes|501 E. Middlefield Rd., Mountain View, CA, 94043, "
                       "U.S.A.|+1-415-937-3419||+1-415-528-4164|howes@netscape.com|"}
        << QStringList{"Frank Dawson: not imported, no such field here: ORG, "
                       "EMAIL fdawson@earthlink.net, URL",
                       "Tim Howes: not imported, no such field here: ORG"};
    QTest::newRow("3.0 with N only, a preferred phone, a third phone, LF line ends")
        << QByteArray(
               "BEGIN:VCARD\nVERSION:3.0\nN:Οικονόμου;Ελένη;;;\nTEL:1\n"
               "TEL;TYPE=CELL,PREF:2\nTEL;TYPE=HOME:3\nNOTE:α\\, β\\; γ\\nδ\nEND:VCARD\n")
        << QStringList{"Ελένη Οικονόμου||2|1|||α, β; γ\nδ"}
        << QStringList{"Ελένη Οικονόμου: not imported, no such field here: TEL 3"};
    QTest::newRow("a bare CR inside a value is a line break, as the writer writes one")
        << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Α\rΒ\r\nNOTE:α\\\rβ\rγ\r\nEND:VCARD\r\n")
        << QStringList{"Α\nΒ||||||α\nβ\nγ"} << QStringList{};
    QTest::newRow("\"tel:\" is left out of a URI only, a text number keeps it")
        << QByteArray(
               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Α\r\nTEL;VALUE=URI;PREF=1:tel:tel:1\r\n"
               "TEL;PREF=2:tel:2\r\nEND:VCARD\r\n")
        << QStringList{"Α||tel:1|tel:2|||"} << QStringList{};
    QTest::newRow("a card without any field is listed")
        << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:\r\nEND:VCARD\r\n") << QStringList{}
        << QStringList{"line 1: a vCard without a name or any other field"};
}

void TestInterchange::foreignVCards() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, contacts);
    QFETCH(QStringList, notes);
    interchange::Outcome outcome;

    const QVector<interchange::Contact> read = interchange::ReadVCards(file, outcome);

    QStringList rows;
    for (const interchange::Contact& c : read) {
        rows.append(
            QStringList{c.name, c.address, c.phone1, c.phone2, c.fax, c.email, c.description}.join(
                QLatin1Char('|')));
    }
    QCOMPARE(rows, contacts);
    QCOMPARE(outcome.notes, notes);
}

void TestInterchange::vCard21Files_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("contacts");
    QTest::addColumn<QStringList>("notes");
    // Lines 1 to 5; the card under test begins at line 6, its value at 8.
    const QByteArray nikos =
        "BEGIN:VCARD\r\nVERSION:2.1\r\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;=CE=9D=CE=AF=CE=BA=CE=BF=CF=82;;;\r\n"
        "TEL;CELL:6971234567\r\nEND:VCARD\r\n";
    const QByteArray begin = nikos + "BEGIN:VCARD\r\nVERSION:2.1\r\n";
    QTest::newRow("an escape that is no hexadecimal number")
        << begin + "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=CE=9D=CE=AF=4G\r\nEND:VCARD\r\n"
        << "line 8: '=4G' is not a quoted-printable escape (= and two hexadecimal digits)"
        << QStringList{} << QStringList{};
    QTest::newRow("an escape cut by the end of the value")
        << begin + "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=CE=9D=C\r\nEND:VCARD\r\n"
        << "line 8: '=C' is not a quoted-printable escape" << QStringList{} << QStringList{};
    QTest::newRow("a character set that is not known")
        << begin + "FN;CHARSET=X-GREEK;ENCODING=QUOTED-PRINTABLE:=C1=E8\r\nEND:VCARD\r\n"
        << "line 8: the character set 'X-GREEK' is not known" << QStringList{} << QStringList{};
    QTest::newRow("an octet that its character set does not have")
        << begin + "FN;CHARSET=ISO-8859-7;QUOTED-PRINTABLE:=C1=AE\r\nEND:VCARD\r\n"
        << "line 8: the text is not in ISO-8859-7, the character set its CHARSET names"
        << QStringList{} << QStringList{};
    QTest::newRow("a soft line break at the end of the file")
        << begin + "NOTE;ENCODING=QUOTED-PRINTABLE:=CE=91=\r\n\r\n"
        << "line 8: the quoted-printable value that begins here ends in a soft line break ('='): "
           "the file is cut short"
        << QStringList{} << QStringList{};
    QTest::newRow("an encoding that is not known")
        << begin + "FN;ENCODING=X-UUENCODE:abc\r\nEND:VCARD\r\n"
        << "line 8: the encoding 'X-UUENCODE' is not known" << QStringList{} << QStringList{};
    // As a phone writes its address book: the soft line breaks of FN and
    // NOTE fall between the two octets of a Greek letter and between CR
    // and LF; the photo's lines are indented and end with an empty line.
    QTest::newRow("a phone's export: UTF-8 quoted-printable, a photo")
        << QByteArray(
               "BEGIN:VCARD\r\nVERSION:2.1\r\n"
               "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=CE=A0=CE=B1=CF=80=CE=B1=CE=B4=CF=8C=CF="
               "80=CE=BF=CF=85=CE=BB=CE=BF=CF=82;=CE=93=CE=B9=CF=8E=CF=81=CE=B3=CE=BF=CF=82;;;\r\n"
               "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=CE=93=CE=B9=CF=8E=CF=81=CE=B3=CE=BF=CF="
               "82 =CE=A0=CE=B1=CF=80=CE=B1=CE=B4=CF=\r\n"
               "=8C=CF=80=CE=BF=CF=85=CE=BB=CE=BF=CF=82\r\n"
               "TEL;HOME:210 1234567\r\n"
               "TEL;CELL;PREF:+30 697 1234567\r\n"
               "TEL;WORK;FAX:210 7654321\r\n"
               "EMAIL;HOME:gp@example.gr\r\n"
               "ADR;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;=CE=95=CF=81=CE=BC=CE=BF=CF=8D 12;"
               "=CE=91=CE=B8=CE=AE=CE=BD=CE=B1;;105 63;\r\n"
               "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=CE=A0=CF=81=CF=8E=CF=84=CE=B7=0D=\r\n"
               "=0A=CE=94=CE=B5=CF=8D=CF=84=CE=B5=CF=81=CE=B7 =CE=B3=CF=81=CE=B1=CE=BC=CE=BC=CE=AE\r\n"
               "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAMCAgICAgMCAgIDAwMDBAYE\r\n"
               "  BAQEBAgGBgUGCQgKCgkICQkKDA8MCgsOCwkJDRENDg8QEBEQCgwSExIQEw8QEBD/2wBDAQMDAwQD\r\n"
               "  BAgEBAgQCwkLEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQ\r\n"
               "\r\n"
               "X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;;1;;;;;;;;;;;;;\r\n"
               "END:VCARD\r\n")
        << QString()
        << QStringList{"Γιώργος Παπαδόπουλος|Ερμού 12, Αθήνα, 105 63|+30 697 1234567|210 1234567|"
                       "210 7654321|gp@example.gr|Πρώτη\nΔεύτερη γραμμή"}
        << QStringList{"Γιώργος Παπαδόπουλος: not imported, no such field here: PHOTO"};
    // An older address book: the bare 2.1 parameter, a Greek code page in
    // quoted-printable and as plain octets, a logo whose lines are not
    // indented.
    QTest::newRow("an old address book: Greek code pages, a logo")
        << QByteArray(
               "BEGIN:VCARD\nVERSION:2.1\n"
               "N;CHARSET=ISO-8859-7;QUOTED-PRINTABLE:=CF=E9=EA=EF=ED=FC=EC=EF=F5;=C5=EB=DD=ED=E7\n"
               "TEL;HOME;FAX:2310 000000\nTEL;VOICE:2310 111111\n"
               "NOTE;CHARSET=windows-1253:\xd0\xe5\xeb\xdc\xf4\xe9\xf3\xf3\xe1\n"
               "LOGO;ENCODING=BASE64;TYPE=GIF:\n"
               "R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7\n"
               "R0lGODlhAQABAIAAAAAAAP//\n\n"
               "END:VCARD\n")
        << QString() << QStringList{"Ελένη Οικονόμου||2310 111111||2310 000000||Πελάτισσα"}
        << QStringList{"Ελένη Οικονόμου: not imported, no such field here: LOGO"};
}

// The vCard 2.1 of phones and older address books, quoted-printable and
// other character sets included, is imported; a value that cannot be
// decoded refuses the file, naming its line.
void TestInterchange::vCard21Files() {
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    QFETCH(QStringList, contacts);
    QFETCH(QStringList, notes);
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("in.vcf"));
    WriteFile(path, file);
    testsupport::TestDatabase database;
    const QString rows = QStringLiteral(
        "SELECT ONOMATEPWNYMO, DIEYTHYNSH, THLEFWNO_1, THLEFWNO_2, FAX, EMAIL, PERIGRAFH "
        "FROM XRHSIMA_THLEFWNA");

    try {
        const interchange::Outcome outcome =
            interchange::ImportFile(database.connection, Format::Contacts, path);
        QVERIFY2(error.isEmpty(), "the file was imported");
        QCOMPARE(outcome.notes, notes);
    } catch (const interchange::InterchangeError& refused) {
        QVERIFY2(refused.message().startsWith(error) && !error.isEmpty(),
                 qPrintable(refused.message()));
    }
    QCOMPARE(TableRows(database.connection, rows), contacts);
}

void TestInterchange::foldingKeepsCharactersWhole_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("ASCII") << QString(200, QLatin1Char('x'));
    QTest::newRow("Greek, two octets each") << QString(90, QChar(0x03B1));
    QTest::newRow("Greek after an odd prefix") << QLatin1Char('x') + QString(90, QChar(0x03B1));
    QTest::newRow("three and four octets")
        << QString(30, QChar(0x20AC)) + QString::fromUtf8("\xF0\x9F\x98\x80").repeated(30);
}

// Every line at most 75 octets and valid UTF-8 on its own; unfolded, the
// same value comes back.
void TestInterchange::foldingKeepsCharactersWhole() {
    QFETCH(QString, value);
    const QByteArray card =
        interchange::WriteVCard({value, {}, {}, {}, {}, {}, value}, QStringLiteral("u"));
    for (const QByteArray& line : card.split('\n')) {
        QVERIFY2(line.size() <= 76, line.constData());
        QCOMPARE(QString::fromUtf8(line).toUtf8(), line);
    }
    interchange::Outcome outcome;
    const QVector<interchange::Contact> read = interchange::ReadVCards(card, outcome);
    QCOMPARE(read.size(), 1);
    QCOMPARE(read.at(0).name, value);
    QCOMPARE(read.at(0).description, value);
}

void TestInterchange::otherParsersAcceptTheFiles_data() {
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ics by Python's icalendar")
        << Format::Calendar
        << "import sys, icalendar\n"
           "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
           "for c in cal.walk():\n"
           "    if c.name == 'VEVENT':\n"
           "        print(c.decoded('dtstart').isoformat(), c.decoded('dtend').isoformat(),\n"
           "              str(c['summary']))\n"
           "    if c.name == 'VJOURNAL':\n"
           "        print(c.decoded('dtstart').isoformat(), repr(str(c['description'])))\n"
        << "2008-02-29T08:00:00+02:00 2008-02-29T08:30:00+02:00 Γιατρός\n"
           "2008-02-29T21:30:00+02:00 2008-02-29T22:00:00+02:00 " +
               kAwkwardText +
               "\n"
               "2026-07-15T14:30:00+03:00 2026-07-15T15:00:00+03:00 Lunch με τη Μαρία\n"
               "2008-02-29 'Πρώτη γραμμή\\nΔεύτερη; γραμμή, με κόμμα\\n\\nΤρίτη \\\\ τέλος'\n";
    QTest::newRow("vcf by Python's vobject (the address-book server's parser)")
        << Format::Contacts
        << "import sys, vobject\n"
           "for card in vobject.readComponents(open(sys.argv[1], encoding='utf-8').read()):\n"
           "    print(card.fn.value, '|', str(card.adr.value.street) if hasattr(card, 'adr') "
           "else '', '|', [t.value for t in card.tel_list])\n"
        << "Παπαδόπουλος Γιώργος | Ερμού 12, 105 63 Αθήνα | ['210 1234567', '697 1234567', "
           "'210 7654321']\n"
           "Only Second Phone |  | ['', '+30 2310 000000']\n";
}

// Another program's parser reads what the export wrote, values included.
void TestInterchange::otherParsersAcceptTheFiles() {
    QFETCH(Format, format);
    QFETCH(QString, script);
    QFETCH(QString, expected);
    // Debian's own Python, the one its python3-icalendar and python3-vobject
    // packages serve.
    const QString python =
        QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (python.isEmpty()) {
        QSKIP("/usr/bin/python3 is not installed");
    }
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("out"));
    testsupport::TestDatabase database;
    Fill(database.connection, format, false);
    interchange::ExportFile(database.connection, format, path, {});

    QProcess parser;
    parser.start(python, {QStringLiteral("-c"), script, path});
    QVERIFY(parser.waitForFinished(30000));
    const QString error = QString::fromUtf8(parser.readAllStandardError());
    if (error.contains(QLatin1String("ModuleNotFoundError"))) {
        QSKIP(qPrintable(QStringLiteral("the Python module is missing: %1").arg(error)));
    }
    QVERIFY2(parser.exitCode() == 0, qPrintable(error));
    QCOMPARE(QString::fromUtf8(parser.readAllStandardOutput()), expected);
}

void TestInterchange::terminalCommands_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("expenses");
    QTest::addColumn<bool>("organizerRunning");
    const QString right = QStringLiteral("--password-file=right");
    QTest::newRow("export csv") << QStringList{"export", "csv", "out.csv", right} << QByteArray()
                                << 0 << "Wrote 2 items to " << QString() << 2 << false;
    QTest::newRow("export csv, password typed on standard input")
        << QStringList{"export", "csv", "out.csv"} << ("  " + kLoginPassword.toUtf8() + "\n") << 0
        << "Wrote 2 items" << QString() << 2 << false;
    QTest::newRow("export ics of a range")
        << QStringList{"export",     "ics",  "out.ics",    "--from",
                       "2008-02-29", "--to", "29/02/2008", right}
        << QByteArray() << 0 << "Wrote 3 items" << QString() << 2 << false;
    QTest::newRow("wrong password")
        << QStringList{"export", "csv", "out.csv", "--password-file=wrong"} << QByteArray() << 1
        << QString() << "access denied: wrong password" << 2 << false;
    QTest::newRow("the password in another letter case")
        << QStringList{"export", "csv", "out.csv"} << kLoginPassword.toUpper().toUtf8() << 1
        << QString() << "access denied: wrong password" << 2 << false;
    QTest::newRow("no password given")
        << QStringList{"import", "csv", "good.csv"} << QByteArray() << 1 << QString()
        << "access denied: no password was given" << 2 << false;
    QTest::newRow("import while the organizer runs")
        << QStringList{"import", "csv", "good.csv", right} << QByteArray() << 1 << QString()
        << "the organizer is running on " << 2 << true;
    QTest::newRow("export while the organizer runs")
        << QStringList{"export", "csv", "out.csv", right} << QByteArray() << 0 << "Wrote 2 items"
        << QString() << 2 << true;
    QTest::newRow("import csv") << QStringList{"import", "csv", "good.csv", right} << QByteArray()
                                << 0 << "Read 1 item from " << QString() << 3 << false;
    QTest::newRow("import of a bad csv adds nothing")
        << QStringList{"import", "csv", "bad.csv", right} << QByteArray() << 1 << QString()
        << "line 4: 3 fields where 4 belong (date;amount;vat;description); nothing was imported"
        << 2 << false;
    QTest::newRow("import of a missing file")
        << QStringList{"import", "vcf", "none.vcf", right} << QByteArray() << 1 << QString()
        << "cannot read" << 2 << false;
    QTest::newRow("no data folder")
        << QStringList{"export", "csv", "out.csv", right, "--data-dir", "nowhere"} << QByteArray()
        << 1 << QString() << "data.mdb is missing" << 2 << false;
    QTest::newRow("unknown format")
        << QStringList{"export", "xls", "out.xls", right} << QByteArray() << 2 << QString()
        << "Unknown format 'xls': ics, vcf or csv." << 2 << false;
    QTest::newRow("import takes no range")
        << QStringList{"import", "csv", "good.csv", "--from", "2008-01-01", right} << QByteArray()
        << 2 << QString() << "--from and --to belong to export." << 2 << false;
    QTest::newRow("contacts take no range")
        << QStringList{"export", "vcf", "out.vcf", "--to", "2008-01-01", right} << QByteArray() << 2
        << QString() << "The contacts carry no date" << 2 << false;
    QTest::newRow("a date that is none")
        << QStringList{"export", "ics", "out.ics", "--from", "31/02/2008", right} << QByteArray()
        << 2 << QString() << "'31/02/2008' is not a date" << 2 << false;
    QTest::newRow("no file") << QStringList{"export", "ics"} << QByteArray() << 2 << QString()
                             << "'export' needs a format (ics, vcf or csv) and a file." << 2
                             << false;
    QTest::newRow("a password file without a command")
        << QStringList{right} << QByteArray() << 2 << QString()
        << "--from, --to and --password-file belong to a command: export, import or sync." << 2
        << false;
}

// The built program as a user runs it, in a folder of their own, without a
// display.
void TestInterchange::terminalCommands() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, typed);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);
    QFETCH(int, expenses);
    QFETCH(bool, organizerRunning);
    testsupport::TestDatabase database;
    store::Execute(database.connection,
                   QStringLiteral("insert into ADMINISTRATOR_ACCOUNT (PASSWORD) values (?)"),
                   {accesscontrol::HashPassword(kLoginPassword)});
    FillCalendar(database.connection, false);
    FillExpenses(database.connection, false);
    database.connection.close();
    QTemporaryDir work;
    const QDir folder(work.path());
    WriteFile(folder.filePath(QStringLiteral("right")), kLoginPassword.toUtf8() + "\n");
    WriteFile(folder.filePath(QStringLiteral("wrong")), "Μυστικό\n");
    WriteFile(folder.filePath(QStringLiteral("good.csv")), "01/02/2008;1,00;0,24;Α\r\n");
    WriteFile(folder.filePath(QStringLiteral("bad.csv")),
              "01/02/2008;1,00;0,24;Α\r\n02/02/2008;1;0;\"x\r\ny\"\r\n02/02/2008;1,00;Β\r\n");

    std::optional<store::DataFolderLock> organizer;
    if (organizerRunning) {
        organizer.emplace(database.work.path());
        QCOMPARE(organizer->state(), store::DataFolderLock::State::Held);
    }
    QProcess program;
    program.setProcessEnvironment(testsupport::TerminalEnvironment(database.work.path()));
    program.setWorkingDirectory(work.path());
    program.start(kProgram, arguments);
    program.write(typed);
    program.closeWriteChannel();
    QVERIFY2(program.waitForFinished(30000), "the program did not end by itself");

    const QString standardOutput = QString::fromUtf8(program.readAllStandardOutput());
    const QString standardError = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(program.exitCode() == exitCode, qPrintable(standardOutput + standardError));
    QVERIFY2(standardOutput.contains(output), qPrintable(standardOutput));
    QVERIFY2(standardError.contains(error), qPrintable(standardError));
    QCOMPARE(testsupport::StoredValue(QStringLiteral("select count(*) from EKSODA")).toInt(),
             expenses);
    const QString written = arguments.value(2);
    if (written.startsWith(QLatin1String("out"))) {
        QCOMPARE(QFileInfo::exists(folder.filePath(written)), exitCode == 0);
    }
}

QTEST_MAIN(TestInterchange)
#include "tst_interchange.moc"
