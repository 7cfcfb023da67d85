// The report component over real queries of a real database: the three
// shipped layouts rendered to PDF and read back as text, and every way a run
// can fail.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "reports/ReportError.h"
#include "reports/ReportProgress.h"
#include "reports/RvDataSetConnection.h"
#include "reports/RvProject.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"

using reports::ReportError;
using reports::RvDataSetConnection;
using reports::RvProject;

namespace {

const char* const kPdfVariable = "KAVELO_REPORT_PDF";

// The PDF's pages as a reader copies them out.
QStringList PdfPages(const QString& pdf) {
    return testsupport::PdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
}

// The first page (0 first) that holds text, -1 when none does.
int PageOf(const QStringList& pages, const QString& text) {
    for (int page = 0; page < pages.size(); ++page) {
        if (pages[page].contains(text)) {
            return page;
        }
    }
    return -1;
}

// A table of the notes whose text column is narrow, so that its cells wrap.
const QByteArray kNarrowTable = R"({"title": "Πίνακας", "fontSize": 10, "bands": [
    {"type": "table", "connection": "RvDataSetConnection2", "columns": [
        {"field": "TITLOS", "title": "Τίτλος", "width": "140mm"},
        {"field": "PERIGRAFH", "title": "Κείμενο", "width": 1}]}]})";

// True when every text occurs, each after the one before it.
bool InOrder(const QString& text, const QStringList& parts) {
    qsizetype from = 0;
    for (const QString& part : parts) {
        from = text.indexOf(part, from);
        if (from < 0) {
            qWarning() << "not found in order:" << part;
            return false;
        }
        from += part.size();
    }
    return true;
}

const QString kExpenseRows = QStringLiteral(
    "SELECT strftime('%d/%m/%Y', HMEROMHNIA) AS HMEROMHNIA, "
    "replace(printf('%.2f', POSO / 100.0), '.', ',') AS AKSIA, "
    "replace(printf('%.2f', VAT / 100.0), '.', ',') AS VAT, "
    "replace(printf('%.2f', (POSO + VAT) / 100.0), '.', ',') AS SYNOLO, PERIGRAFH "
    "FROM EKSODA ORDER BY HMEROMHNIA");
const QString kExpenseSums = QStringLiteral(
    "SELECT replace(printf('%.2f', SUM(POSO) / 100.0), '.', ',') AS AKSIA, "
    "replace(printf('%.2f', SUM(VAT) / 100.0), '.', ',') AS VAT, "
    "replace(printf('%.2f', SUM(POSO + VAT) / 100.0), '.', ',') AS SYNOLO FROM EKSODA");
const QString kMonthRows = QStringLiteral(
    "SELECT CAST(strftime('%m', HMEROMHNIA) AS INTEGER) AS MONTH, "
    "CAST(strftime('%Y', HMEROMHNIA) AS INTEGER) AS YEAR, "
    "replace(printf('%.2f', SUM(POSO) / 100.0), '.', ',') AS AKSIA, "
    "replace(printf('%.2f', SUM(VAT) / 100.0), '.', ',') AS VAT, "
    "replace(printf('%.2f', SUM(POSO + VAT) / 100.0), '.', ',') AS SYNOLO "
    "FROM EKSODA GROUP BY YEAR, MONTH ORDER BY YEAR, MONTH");

}  // namespace

// A project over the layout at path whose connections, named as the layout
// names them, offer the given sets.
struct BoundProject {
    BoundProject(const QString& path,
                 std::initializer_list<std::pair<const char*, store::DataSet*>> sets) {
        for (const auto& [name, set] : sets) {
            auto connection = std::make_unique<RvDataSetConnection>();
            connection->setObjectName(QLatin1String(name));
            connection->setDataSet(set);
            project.addConnection(connection.get());
            connections.push_back(std::move(connection));
        }
        project.setProjectFile(path);
    }
    std::vector<std::unique_ptr<RvDataSetConnection>> connections;
    RvProject project;
};

class TestReports : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void failuresNameTheFileAndLeaveNoPdf_data();
    void failuresNameTheFileAndLeaveNoPdf();
    void notesPrintInQueryOrderWithGreekIntact();
    void longNoteBreaksAcrossPagesUnderItsContinuedTitle();
    void printingTwiceGivesTheSameTextAndRereadsTheLayout();
    void expensesSearchListsRowsAndTotals();
    void expensesByMonthDrawsTheChartAndTheTable();
    void rangeWithoutExpensesPrintsHeadingsAndEmptyTotals();
    void previewOpensWhenNoPdfIsAsked();
    void pagesAreCutBetweenRowsAndLines_data();
    void pagesAreCutBetweenRowsAndLines();
    void cancelledReportLeavesNoFileAndNoMessage();
    void printFromThePreviewWritesOrShowsTheError_data();
    void printFromThePreviewWritesOrShowsTheError();

private:
    std::unique_ptr<testsupport::WorkDir> work_;
    std::unique_ptr<store::Connection> connection_;
    QString pdf_;

    void addNote(const QString& title, const QString& body);
    void addExpense(const QString& isoDate, int cents, int vatCents, const QString& text);
    std::unique_ptr<store::Query> openQuery(const QString& sql);
    QString render(RvProject& project);
};

void TestReports::init() {
    testsupport::ResetTestHooks();
    work_ = std::make_unique<testsupport::WorkDir>();
    connection_ = std::make_unique<store::Connection>();
    connection_->reopen(work_->connectionString());
    pdf_ = work_->path() + QStringLiteral("/out/report.pdf");
    QDir().mkpath(work_->path() + QStringLiteral("/out"));
    qputenv(kPdfVariable, pdf_.toUtf8());
}

void TestReports::cleanup() {
    testsupport::ResetTestHooks();
    qunsetenv(kPdfVariable);
    connection_.reset();
    work_.reset();
}

void TestReports::addNote(const QString& title, const QString& body) {
    store::Execute(*connection_,
                   QStringLiteral("INSERT INTO NOTES (TITLOS, PERIGRAFH) VALUES (?, ?)"),
                   {title, body});
}

void TestReports::addExpense(const QString& isoDate, int cents, int vatCents, const QString& text) {
    store::Execute(*connection_,
                   QStringLiteral("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) "
                                  "VALUES (?, ?, ?, ?)"),
                   {isoDate, cents, vatCents, text});
}

std::unique_ptr<store::Query> TestReports::openQuery(const QString& sql) {
    auto query = std::make_unique<store::Query>();
    query->setConnection(connection_.get());
    query->setSql(sql);
    query->open();
    return query;
}

QString TestReports::render(RvProject& project) {
    project.Execute();
    if (QGuiApplication::overrideCursor() != nullptr) {
        qWarning() << "the busy cursor stayed";
        return {};
    }
    return testsupport::PdfText(pdf_);
}

void TestReports::failuresNameTheFileAndLeaveNoPdf_data() {
    QTest::addColumn<QByteArray>("layout");  // "-" for no file at all
    QTest::addColumn<bool>("pdfWritable");
    QTest::addColumn<bool>("queryOpen");
    QTest::addColumn<QString>("expected");
    const QByteArray good = R"({"bands": [{"type": "records", "connection": "RvDataSetConnection2",
                                "titleField": "TITLOS", "bodyField": "PERIGRAFH"}]})";
    QTest::newRow("missing") << QByteArray("-") << true << true << QStringLiteral("not found");
    QTest::newRow("empty") << QByteArray(" \n") << true << true << QStringLiteral("is empty");
    QTest::newRow("malformed JSON")
        << QByteArray("{\"bands\": [") << true << true << QStringLiteral("is not valid JSON");
    QTest::newRow("no bands") << QByteArray("{\"title\": \"x\"}") << true << true
                              << QStringLiteral("not a report layout: the layout has no \"bands\"");
    QTest::newRow("unknown band type")
        << QByteArray(R"({"bands": [{"type": "pie", "connection": "RvDataSetConnection2"}]})")
        << true << true << QStringLiteral("band 1 has the unknown type \"pie\"");
    QTest::newRow("unknown connection")
        << QByteArray(good).replace("RvDataSetConnection2", "RvDataSetConnection9") << true << true
        << QStringLiteral("names the data connection \"RvDataSetConnection9\"");
    QTest::newRow("unknown column") << QByteArray(good).replace("PERIGRAFH", "KEIMENO") << true
                                    << true << QStringLiteral("names the column \"KEIMENO\"");
    QTest::newRow("query not open")
        << good << true << false << QStringLiteral("has no open data set");
    QTest::newRow("unwritable PDF")
        << good << false << true << QStringLiteral("Cannot write the report to");
}

void TestReports::failuresNameTheFileAndLeaveNoPdf() {
    QFETCH(QByteArray, layout);
    QFETCH(bool, pdfWritable);
    QFETCH(bool, queryOpen);
    QFETCH(QString, expected);
    addNote(QStringLiteral("Τίτλος"), QStringLiteral("Κείμενο"));
    const QString projectFile = work_->path() + QStringLiteral("/TEST.RAV");
    if (layout != "-") {
        QFile file(projectFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(layout);
    }
    if (!pdfWritable) {
        pdf_ = work_->path() + QStringLiteral("/no such folder/report.pdf");
        qputenv(kPdfVariable, pdf_.toUtf8());
    }
    auto notes = openQuery(QStringLiteral("SELECT TITLOS, PERIGRAFH FROM NOTES"));
    if (!queryOpen) {
        notes->close();
    }
    BoundProject bound(projectFile, {{"RvDataSetConnection2", notes.get()}});
    RvProject& project = bound.project;
    try {
        project.Execute();
        QFAIL("the report ran");
    } catch (const ReportError& error) {
        QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
        const QString named = pdfWritable ? projectFile : pdf_;
        QVERIFY2(error.message().contains(QLatin1Char('"') + named + QLatin1Char('"')),
                 qPrintable(error.message()));
    }
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QVERIFY(!QFile::exists(pdf_));
    QCOMPARE(QDir(work_->path() + QStringLiteral("/out")).entryList(QDir::Files), QStringList());
}

void TestReports::notesPrintInQueryOrderWithGreekIntact() {
    addNote(QStringLiteral("Ψώνια"), QStringLiteral("Γάλα, ψωμί.\r\nΤυρί φέτα."));
    addNote(QStringLiteral("Άλφα ΆΈΉΊΌΎΏ ϊΐϋΰ"), QStringLiteral("Πρώτη γραμμή"));
    addNote(QStringLiteral("Γιατρός"), QStringLiteral("Τρίτη 10:30"));
    auto notes = openQuery(QStringLiteral("SELECT TITLOS, PERIGRAFH FROM NOTES ORDER BY ID DESC"));
    BoundProject bound(work_->path() + QStringLiteral("/NOTES.RAV"),
                       {{"RvDataSetConnection2", notes.get()}});
    RvProject& project = bound.project;
    const QString text = render(project);
    QVERIFY(InOrder(text, {QStringLiteral("Γιατρός"), QStringLiteral("Τρίτη 10:30"),
                           QStringLiteral("Άλφα ΆΈΉΊΌΎΏ ϊΐϋΰ"), QStringLiteral("Πρώτη γραμμή"),
                           QStringLiteral("Ψώνια"), QStringLiteral("Γάλα, ψωμί."),
                           QStringLiteral("Τυρί φέτα.")}));
    QVERIFY(text.contains(
        QRegularExpression(QStringLiteral("\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d +Σελίδα 1 από 1"))));
}

void TestReports::longNoteBreaksAcrossPagesUnderItsContinuedTitle() {
    QStringList lines;
    for (int i = 1; i <= 75; ++i) {
        lines.append(QStringLiteral("Παράγραφος %1 της μεγάλης σημείωσης.").arg(i));
    }
    addNote(QStringLiteral("Μεγάλη"), lines.join(QLatin1Char('\n')));
    auto notes = openQuery(QStringLiteral("SELECT TITLOS, PERIGRAFH FROM NOTES"));
    BoundProject bound(work_->path() + QStringLiteral("/NOTES.RAV"),
                       {{"RvDataSetConnection2", notes.get()}});
    RvProject& project = bound.project;
    const QString text = render(project);
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[0].contains(QStringLiteral("Σελίδα 1 από 2")));
    QVERIFY(pages[1].contains(QStringLiteral("Μεγάλη (συνέχεια)")));
    QVERIFY(pages[1].contains(QStringLiteral("Παράγραφος 75 της μεγάλης σημείωσης.")));
    QVERIFY(pages[1].contains(QStringLiteral("Σελίδα 2 από 2")));
    QVERIFY(!pages[0].contains(QStringLiteral("(συνέχεια)")));
    QStringList order;
    for (const QString& line : lines) {
        order.append(line);
    }
    QVERIFY(InOrder(text, order));
    QCOMPARE(text.count(QStringLiteral("Παράγραφος 40 ")), 1);
}

void TestReports::printingTwiceGivesTheSameTextAndRereadsTheLayout() {
    addNote(QStringLiteral("Β σημείωση"), QStringLiteral("Δεύτερη"));
    addNote(QStringLiteral("Α σημείωση"), QStringLiteral("Πρώτη"));
    auto notes = openQuery(QStringLiteral("SELECT TITLOS, PERIGRAFH FROM NOTES ORDER BY TITLOS"));
    const QString layoutPath = work_->path() + QStringLiteral("/NOTES.RAV");
    BoundProject bound(layoutPath, {{"RvDataSetConnection2", notes.get()}});
    RvProject& project = bound.project;
    static const QRegularExpression printed(QStringLiteral("\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d"));
    const QString first = render(project).replace(printed, QString());
    const QString second = render(project).replace(printed, QString());
    QVERIFY(first.contains(QStringLiteral("Α σημείωση")));
    QCOMPARE(second, first);

    QFile layout(layoutPath);
    QVERIFY(layout.open(QIODevice::ReadOnly));
    QByteArray json = layout.readAll();
    layout.close();
    QVERIFY(layout.open(QIODevice::WriteOnly | QIODevice::Truncate));
    layout.write(json.replace("\"Σημειωματάριο\"", "\"Οι σημειώσεις μου\""));
    layout.close();
    QVERIFY(render(project).contains(QStringLiteral("Οι σημειώσεις μου")));
}

void TestReports::expensesSearchListsRowsAndTotals() {
    addExpense(QStringLiteral("2007-03-28"), 1250, 230, QStringLiteral("Ηλεκτρικό ρεύμα ΔΕΗ"));
    addExpense(QStringLiteral("2007-03-05"), 400000, 92000, QStringLiteral("Ενοίκιο Μαρτίου"));
    addExpense(QStringLiteral("2007-03-15"), 999, 0, QStringLiteral("Καφές"));
    auto rows = openQuery(kExpenseRows);
    auto sums = openQuery(kExpenseSums);
    BoundProject bound(
        work_->path() + QStringLiteral("/EKSODA1.RAV"),
        {{"RvDataSetConnection3", rows.get()}, {"RvDataSetConnection4", sums.get()}});
    RvProject& project = bound.project;
    const QString text = render(project);
    QVERIFY(InOrder(text, {QStringLiteral("Έξοδα - Αναλυτική έρευνα"), QStringLiteral("Ημερομηνία"),
                           QStringLiteral("Περιγραφή"), QStringLiteral("Αξία (EUR)"),
                           QStringLiteral("Φ.Π.Α (EUR)"), QStringLiteral("Αξία + Φ.Π.Α (EUR)")}));
    QVERIFY(text.contains(QRegularExpression(
        QStringLiteral("05/03/2007 +Ενοίκιο Μαρτίου +4000,00 +920,00 +4920,00"))));
    QVERIFY(InOrder(text, {QStringLiteral("05/03/2007"), QStringLiteral("15/03/2007"),
                           QStringLiteral("28/03/2007")}));
    QVERIFY(InOrder(
        text, {QStringLiteral("Ολικά ποσά"), QStringLiteral("Αξία (EUR):"),
               QStringLiteral("4022,49"), QStringLiteral("Φ.Π.Α (EUR):"), QStringLiteral("922,30"),
               QStringLiteral("Αξία + Φ.Π.Α (EUR):"), QStringLiteral("4944,79")}));
}

void TestReports::expensesByMonthDrawsTheChartAndTheTable() {
    addExpense(QStringLiteral("2006-12-10"), 10000, 2300, QStringLiteral("α"));
    addExpense(QStringLiteral("2007-01-10"), 5050, 0, QStringLiteral("β"));
    addExpense(QStringLiteral("2007-01-20"), 1000, 230, QStringLiteral("γ"));
    auto months = openQuery(kMonthRows);
    auto sums = openQuery(kExpenseSums);
    BoundProject bound(
        work_->path() + QStringLiteral("/EKSODA2.RAV"),
        {{"RvDataSetConnection5", months.get()}, {"RvDataSetConnection6", sums.get()}});
    RvProject& project = bound.project;
    const QString text = render(project);
    // The chart's category labels come before the table, as text.
    QVERIFY(InOrder(text, {QStringLiteral("Έξοδα - Κατά μήνα"), QStringLiteral("12/2006"),
                           QStringLiteral("1/2007"), QStringLiteral("Μήνας")}));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("12 +2006 +100,00 +23,00 +123,00"))));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("1 +2007 +60,50 +2,30 +62,80"))));
    QVERIFY(InOrder(text, {QStringLiteral("Ολικά ποσά"), QStringLiteral("160,50"),
                           QStringLiteral("25,30"), QStringLiteral("185,80")}));
}

void TestReports::rangeWithoutExpensesPrintsHeadingsAndEmptyTotals() {
    auto months = openQuery(kMonthRows);
    auto sums = openQuery(kExpenseSums);
    BoundProject bound(
        work_->path() + QStringLiteral("/EKSODA2.RAV"),
        {{"RvDataSetConnection5", months.get()}, {"RvDataSetConnection6", sums.get()}});
    RvProject& project = bound.project;
    const QString text = render(project);
    QVERIFY(InOrder(text, {QStringLiteral("Έξοδα - Κατά μήνα"), QStringLiteral("Μήνας"),
                           QStringLiteral("Ολικά ποσά"), QStringLiteral("Αξία + Φ.Π.Α (EUR):"),
                           QStringLiteral("Σελίδα 1 από 1")}));
    QVERIFY(!text.contains(QStringLiteral("ανά μήνα")));
}

void TestReports::previewOpensWhenNoPdfIsAsked() {
    qunsetenv(kPdfVariable);
    addNote(QStringLiteral("Τίτλος"), QStringLiteral("Κείμενο"));
    auto notes = openQuery(QStringLiteral("SELECT TITLOS, PERIGRAFH FROM NOTES"));
    BoundProject bound(work_->path() + QStringLiteral("/NOTES.RAV"),
                       {{"RvDataSetConnection2", notes.get()}});
    RvProject& project = bound.project;
    QString seenTitle;
    QString seenPage;
    const auto preview =
        testsupport::AnswerNextModal(QStringLiteral("ReportPreview"), [&](QWidget* modal) {
            seenTitle = modal->windowTitle();
            if (const auto* label = modal->findChild<QLabel*>(QStringLiteral("PageLabel"))) {
                seenPage = label->text();
            }
            modal->close();
        });
    project.Execute();
    VERIFY_MODAL(preview);
    QCOMPARE(seenTitle, QStringLiteral("Σημειωματάριο"));
    QCOMPARE(seenPage, QStringLiteral("Σελίδα 1 από 1"));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QVERIFY(!QFile::exists(pdf_));
}

// Each note is "title\tbody"; every text of once occurs exactly once in the
// PDF, every group of together (texts joined by "|") lies on one page, and
// every page after the first repeats each text of continued.
void TestReports::pagesAreCutBetweenRowsAndLines_data() {
    QTest::addColumn<QByteArray>("layout");
    QTest::addColumn<QStringList>("notes");
    QTest::addColumn<QStringList>("once");
    QTest::addColumn<QStringList>("together");
    QTest::addColumn<QStringList>("continued");
    QTest::addColumn<int>("minPages");
    QTest::addColumn<int>("maxPages");

    QStringList notes;
    QStringList once;
    QStringList together;
    for (int i = 1; i <= 150; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        notes.append(
            QStringLiteral("Τ%1\tΑρχή%1 και λίγες λέξεις ακόμη για να αναδιπλωθεί Τέλος%1").arg(n));
        once << QStringLiteral("Τ") + n << QStringLiteral("Αρχή") + n
             << QStringLiteral("Τέλος") + n;
        together.append(QStringLiteral("Τ%1|Αρχή%1|Τέλος%1").arg(n));
    }
    QTest::newRow("a row is never split, the header repeats")
        << kNarrowTable << notes << once << together << QStringList{QStringLiteral("Κείμενο")} << 3
        << 99;

    QStringList lines;
    once.clear();
    for (int i = 1; i <= 160; ++i) {
        lines.append(QStringLiteral("Γραμμή%1").arg(i, 3, 10, QLatin1Char('0')));
    }
    QTest::newRow("a row taller than a page is cut between its lines")
        << kNarrowTable << QStringList{QStringLiteral("Μεγάλη\t") + lines.join(QLatin1Char('\n'))}
        << lines << QStringList() << QStringList{QStringLiteral("Κείμενο")} << 2 << 99;

    QStringList sentences;
    for (int i = 1; i <= 1500; ++i) {
        sentences.append(QStringLiteral("Π%1.").arg(i, 4, 10, QLatin1Char('0')));
    }
    QTest::newRow("a paragraph is cut between lines, each line printed once")
        << QByteArray("-")
        << QStringList{QStringLiteral("Πολλές\t") + sentences.join(QLatin1Char(' '))} << sentences
        << QStringList() << QStringList{QStringLiteral("Πολλές (συνέχεια)")} << 3 << 99;

    QTest::newRow("an empty table prints its header")
        << kNarrowTable << QStringList() << QStringList{QStringLiteral("Κείμενο")} << QStringList()
        << QStringList() << 1 << 1;
}

void TestReports::pagesAreCutBetweenRowsAndLines() {
    QFETCH(QByteArray, layout);
    QFETCH(QStringList, notes);
    QFETCH(QStringList, once);
    QFETCH(QStringList, together);
    QFETCH(QStringList, continued);
    QFETCH(int, minPages);
    QFETCH(int, maxPages);
    store::Execute(*connection_, QStringLiteral("BEGIN"));
    for (const QString& note : notes) {
        addNote(note.section(QLatin1Char('\t'), 0, 0), note.section(QLatin1Char('\t'), 1));
    }
    store::Execute(*connection_, QStringLiteral("COMMIT"));
    QString projectFile = work_->path() + QStringLiteral("/NOTES.RAV");
    if (layout != "-") {
        projectFile = work_->path() + QStringLiteral("/TEST.RAV");
        QFile file(projectFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(layout);
    }
    auto rows = openQuery(QStringLiteral("SELECT TITLOS, PERIGRAFH FROM NOTES ORDER BY TITLOS"));
    BoundProject bound(projectFile, {{"RvDataSetConnection2", rows.get()}});
    bound.project.Execute();
    const QStringList pages = PdfPages(pdf_);
    QVERIFY2(pages.size() >= minPages && pages.size() <= maxPages,
             qPrintable(QString::number(pages.size())));
    const QString text = pages.join(QLatin1Char('\f'));
    for (const QString& piece : once) {
        QVERIFY2(text.count(piece) == 1, qPrintable(piece));
    }
    for (const QString& group : together) {
        const QStringList pieces = group.split(QLatin1Char('|'));
        const int page = PageOf(pages, pieces.first());
        for (const QString& piece : pieces) {
            QVERIFY2(page >= 0 && PageOf(pages, piece) == page, qPrintable(group));
        }
    }
    for (int page = 1; page < pages.size(); ++page) {
        for (const QString& piece : continued) {
            QVERIFY2(pages[page].contains(piece), qPrintable(QString::number(page + 1)));
        }
    }
    QVERIFY(pages.last().contains(QStringLiteral("Σελίδα %1 από %1").arg(pages.size())));
}

void TestReports::cancelledReportLeavesNoFileAndNoMessage() {
    reports::SetProgressDelayForTests(0);
    store::Execute(*connection_,
                   QStringLiteral("INSERT INTO NOTES (TITLOS, PERIGRAFH) WITH RECURSIVE n(i) AS "
                                  "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000) "
                                  "SELECT 'Σημείωση ' || i, 'Κείμενο της σημείωσης ' || i FROM n"));
    auto notes = openQuery(QStringLiteral("SELECT TITLOS, PERIGRAFH FROM NOTES"));
    BoundProject bound(work_->path() + QStringLiteral("/NOTES.RAV"),
                       {{"RvDataSetConnection2", notes.get()}});
    const auto progress =
        testsupport::AnswerNextModal(QStringLiteral("ReportProgress"), [](QWidget* modal) {
            auto* cancel = modal->findChild<QPushButton*>();
            QVERIFY(qobject_cast<QProgressDialog*>(modal) != nullptr && cancel != nullptr);
            cancel->click();
        });
    bound.project.Execute();
    VERIFY_MODAL(progress);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QCOMPARE(QDir(work_->path() + QStringLiteral("/out")).entryList(QDir::Files), QStringList());
}

// Saving a PDF from the preview: the file is written whole, or the standard
// error box names it and no file is left.
void TestReports::printFromThePreviewWritesOrShowsTheError_data() {
    QTest::addColumn<bool>("reachable");
    QTest::newRow("written") << true;
    // The chosen name links into a folder that is gone: no user, root
    // included, can write there.
    QTest::newRow("folder gone") << false;
}

void TestReports::printFromThePreviewWritesOrShowsTheError() {
    QFETCH(bool, reachable);
    const bool written = reachable;
    qunsetenv(kPdfVariable);
    const QString target = work_->path() + QStringLiteral("/out/print.pdf");
    if (!reachable) {
        QVERIFY(QFile::link(work_->path() + QStringLiteral("/gone/print.pdf"), target));
    }
    addNote(QStringLiteral("Τίτλος"), QStringLiteral("Κείμενο από την προεπισκόπηση"));
    auto notes = openQuery(QStringLiteral("SELECT TITLOS, PERIGRAFH FROM NOTES"));
    BoundProject bound(work_->path() + QStringLiteral("/NOTES.RAV"),
                       {{"RvDataSetConnection2", notes.get()}});
    QStringList boxes;
    widgets::SetMessageResponder([&boxes](const widgets::MessageRequest& request) {
        boxes.append(request.text);
        return widgets::Answer::Ok;
    });
    std::unique_ptr<testsupport::ExpectedModal> fileDialog;
    const auto preview =
        testsupport::AnswerNextModal(QStringLiteral("ReportPreview"), [&](QWidget* modal) {
            fileDialog = testsupport::AnswerNextModal(
                QStringLiteral("SavePdfDialog"), [&target](QWidget* files) {
                    auto* dialog = qobject_cast<QFileDialog*>(files);
                    QVERIFY(dialog != nullptr);
                    // Typed, as a person would: the dialog's own loading of
                    // its folder cannot change the name then.
                    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                    QVERIFY(name != nullptr);
                    name->setText(target);
                    QCOMPARE(dialog->selectedFiles(), QStringList{target});
                    static_cast<QDialog*>(dialog)->accept();
                    if (dialog->isVisible()) {
                        dialog->reject();
                        QFAIL("the file dialog did not take the file");
                    }
                });
            modal->findChild<QAction*>(QStringLiteral("SavePdfAction"))->trigger();
            modal->close();
        });
    bound.project.Execute();
    VERIFY_MODAL(preview);
    VERIFY_MODAL(fileDialog);
    QCOMPARE(QFile::exists(target), written);
    if (written) {
        QCOMPARE(boxes, QStringList());
        QVERIFY(
            testsupport::PdfText(target).contains(QStringLiteral("Κείμενο από την προεπισκόπηση")));
    } else {
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains(QStringLiteral("Cannot write the report to \"%1\"").arg(target)),
                 qPrintable(boxes[0]));
    }
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
