// Printing: the whole notebook (1,000 notes of 2 KB each) and the expenses
// search over years of expenses, each from the open query to the PDF on disk;
// the preview of the search report until its first page is on the screen;
// and, as the floor the report is judged against, the same rows drawn by
// plain QPainter::drawText on a QPdfWriter, page by page, with no layout.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "core/AppGlobals.h"
#include "core/ProgramLocale.h"
#include "expenses/Unit14.h"
#include "reports/RvDataSetConnection.h"
#include "reports/RvProject.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

QString ShippedFile(const QString& name) {
    return QFileInfo(QStringLiteral(ORGANIZER_EMPTY_DB)).dir().filePath(name);
}

// A data folder with the empty database and the shipped layouts.
void PrepareFolder(const QString& folder) {
    QDir().mkpath(folder);
    const QString database = folder + QStringLiteral("/data.mdb");
    QFile::copy(QStringLiteral(ORGANIZER_EMPTY_DB), database);
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    for (const char* layout : {"NOTES.RAV", "EKSODA1.RAV", "EKSODA2.RAV"}) {
        QFile::copy(ShippedFile(QLatin1String(layout)), folder + QLatin1Char('/') + layout);
    }
}

// About 2 KB of text, a new paragraph after every fourth sentence.
QString NoteBody(int number) {
    QString body;
    for (int sentence = 1; body.size() < 2048; ++sentence) {
        body += QStringLiteral("Σημείωση %1: ραντεβού με τον λογιστή για τα έξοδα του μήνα. ")
                    .arg(number);
        if (sentence % 4 == 0) {
            body += QLatin1Char('\n');
        }
    }
    return body.left(2048);
}

struct Notebook {
    QTemporaryDir dir;
    store::Connection connection;
    store::Query notes;

    Notebook() {
        PrepareFolder(dir.path());
        connection.reopen(store::BuildConnectionString(dir.path()));
        store::Execute(connection, QStringLiteral("BEGIN"));
        for (int i = 0; i < 1000; ++i) {
            store::Execute(
                connection, QStringLiteral("INSERT INTO NOTES (TITLOS, PERIGRAFH) VALUES (?, ?)"),
                {QStringLiteral("Σημείωση %1").arg(i, 4, 10, QLatin1Char('0')), NoteBody(i)});
        }
        store::Execute(connection, QStringLiteral("COMMIT"));
        notes.setConnection(&connection);
        notes.setSql(QStringLiteral("SELECT TITLOS,PERIGRAFH FROM NOTES ORDER BY TITLOS ASC"));
        notes.open();
    }
};

void BM_PrintThousandNotesToPdf(benchmark::State& state) {
    Notebook notebook;
    reports::RvDataSetConnection connection;
    connection.setObjectName(QStringLiteral("RvDataSetConnection2"));
    connection.setDataSet(&notebook.notes);
    reports::RvProject project;
    project.addConnection(&connection);
    project.setProjectFile(notebook.dir.filePath(QStringLiteral("NOTES.RAV")));
    const QString pdf = notebook.dir.path() + QStringLiteral("/notes.pdf");
    qputenv("KAVELO_REPORT_PDF", pdf.toUtf8());
    for (auto _ : state) {
        project.Execute();
    }
    state.counters["KB"] = double(QFileInfo(pdf).size()) / 1024;
    qunsetenv("KAVELO_REPORT_PDF");
}
BENCHMARK(BM_PrintThousandNotesToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor of the notes: the same text cut at blanks into lines of about
// the width of a page, drawn line by line with QPainter::drawText, a new
// page every 60 lines, with no layout.
void BM_FloorNotesDrawTextToPdf(benchmark::State& state) {
    QStringList lines;
    for (int i = 0; i < 1000; ++i) {
        for (const QString& paragraph : NoteBody(i).split(QLatin1Char('\n'))) {
            QString line;
            for (const QString& word : paragraph.split(QLatin1Char(' '))) {
                if (line.size() + word.size() > 90) {
                    lines.append(line);
                    line.clear();
                }
                line += word + QLatin1Char(' ');
            }
            lines.append(line);
        }
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("floor-notes.pdf"));
    for (auto _ : state) {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(10);
        painter.setFont(font);
        const double lineHeight = writer.logicalDpiY() * 0.165;
        for (int l = 0; l < lines.size(); ++l) {
            if (l > 0 && l % 60 == 0) {
                writer.newPage();
            }
            painter.drawText(QPointF(0, (l % 60 + 1) * lineHeight), lines[l]);
        }
    }
    state.counters["lines"] = double(lines.size());
}
BENCHMARK(BM_FloorNotesDrawTextToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// A folder with the given number of expenses, a few a day from 2001 on, each
// with a description of about 35 Greek characters; written once per size and
// kept beside the program for later runs.
QString ExpensesFolder(int rows) {
    const QString folder =
        QCoreApplication::applicationDirPath() + QStringLiteral("/bench-report-%1").arg(rows);
    if (QFile::exists(folder + QStringLiteral("/data.mdb"))) {
        return folder;
    }
    PrepareFolder(folder);
    store::Connection connection;
    connection.reopen(store::BuildConnectionString(folder));
    store::Execute(
        connection,
        QStringLiteral("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) "
                       "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < ? "
                       "- 1) SELECT date('2001-01-01', '+' || (i / 4) || ' days'), "
                       "1 + abs(random()) % 200000, abs(random()) % 46000, "
                       "'Λογαριασμός ρεύματος κατοικίας αρ. ' || (1000 + i % 9000) FROM n"),
        {rows});
    return folder;
}

// Points the program at the folder of that many expenses.
int UseExpensesFolder(int rows) {
    app().AppDirectory = ExpensesFolder(rows);
    app().AppConnectionString = store::BuildConnectionString(app().AppDirectory);
    return rows;
}

// The search window over the folder's expenses, searched from 2001 to 2099.
struct SearchWindow {
    explicit SearchWindow(int count) : rows(UseExpensesFolder(count)) {
        window.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("1/1/2001"));
        window.findChild<QLineEdit*>(QStringLiteral("Edit2"))
            ->setText(QStringLiteral("31/12/2099"));
        window.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        print = window.findChild<QPushButton*>(QStringLiteral("Button3"));
    }
    int rows;
    TForm14 window;
    QPushButton* print = nullptr;
};

// A year of a small business, four years, ten years of a household, forty.
const std::vector<int64_t> kRows = {1000, 4000, 16000, 64000};

void BM_ExpensesSearchReportToPdf(benchmark::State& state) {
    SearchWindow search(int(state.range(0)));
    const QString pdf = app().AppDirectory + QStringLiteral("/search.pdf");
    qputenv("KAVELO_REPORT_PDF", pdf.toUtf8());
    QFile::remove(pdf);
    for (auto _ : state) {
        search.print->click();
    }
    qunsetenv("KAVELO_REPORT_PDF");
    if (!QFile::exists(pdf)) {
        state.SkipWithError("no PDF was written");
    }
    state.counters["KB"] = double(QFileInfo(pdf).size()) / 1024;
}
BENCHMARK(BM_ExpensesSearchReportToPdf)
    ->ArgName("rows")
    ->ArgsProduct({kRows})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// The floor: the rows of the same search, already in memory, drawn cell by
// cell at fixed places with QPainter::drawText, a new page every 40 rows.
void BM_FloorDrawTextToPdf(benchmark::State& state) {
    UseExpensesFolder(int(state.range(0)));
    store::Connection connection;
    connection.reopen(store::BuildConnectionString(app().AppDirectory));
    store::Query query;
    query.setConnection(&connection);
    query.setSql(QStringLiteral(
        "SELECT strftime('%d/%m/%Y', HMEROMHNIA), CENTS_TEXT(POSO), CENTS_TEXT(VAT), "
        "CENTS_TEXT(POSO + VAT), PERIGRAFH FROM EKSODA ORDER BY HMEROMHNIA"));
    query.open();
    QVector<QStringList> rows;
    for (int r = 0; r < query.recordCount(); ++r) {
        QStringList row;
        for (int column = 0; column < 5; ++column) {
            row.append(query.valueAt(r, column).toString());
        }
        rows.append(row);
    }
    const QString pdf = app().AppDirectory + QStringLiteral("/floor.pdf");
    for (auto _ : state) {
        QPdfWriter writer(pdf);
        writer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter(&writer);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(9);
        painter.setFont(font);
        const double rowHeight = writer.logicalDpiY() * 0.17;
        const double column = writer.logicalDpiX() * 1.9;
        for (int r = 0; r < rows.size(); ++r) {
            if (r > 0 && r % 40 == 0) {
                writer.newPage();
            }
            const double y = (r % 40 + 1) * rowHeight;
            for (int c = 0; c < rows[r].size(); ++c) {
                painter.drawText(QPointF(c * column, y), rows[r][c]);
            }
        }
    }
    state.counters["KB"] = double(QFileInfo(pdf).size()) / 1024;
}
BENCHMARK(BM_FloorDrawTextToPdf)
    ->ArgName("rows")
    ->ArgsProduct({kRows})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

// Waits for the first paint of the preview's page view, notes the time and
// the memory, and closes the preview once that paint is done.
class FirstPagePainted : public QObject {
public:
    qint64 elapsedMs = -1;
    long residentKiB = 0;
    bool painting = false;
    QElapsedTimer clock;

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Paint || elapsedMs >= 0 || painting || widget == nullptr ||
            widget->parentWidget() == nullptr ||
            widget->parentWidget()->objectName() != QLatin1String("PageView")) {
            return false;
        }
        QWidget* preview = widget->window();
        painting = true;
        QCoreApplication::sendEvent(widget, event);
        painting = false;
        elapsedMs = clock.elapsed();
        residentKiB = ResidentKiB();
        QTimer::singleShot(0, preview, &QWidget::close);
        return true;
    }
};

void BM_ExpensesSearchPreviewFirstPage(benchmark::State& state) {
    SearchWindow search(int(state.range(0)));
    qunsetenv("KAVELO_REPORT_PDF");
    FirstPagePainted painted;
    qApp->installEventFilter(&painted);
    for (auto _ : state) {
        painted.elapsedMs = -1;
        painted.clock.start();
        search.print->click();
    }
    qApp->removeEventFilter(&painted);
    if (painted.elapsedMs < 0) {
        state.SkipWithError("the preview showed no page");
    }
    state.counters["first_page_ms"] = double(painted.elapsedMs);
    state.counters["MiB"] = double(painted.residentKiB) / 1024;
}
BENCHMARK(BM_ExpensesSearchPreviewFirstPage)
    ->ArgName("rows")
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    ApplyProgramLocale();
    widgets::InstallFontSubstitutions();
    widgets::SetMessageResponder(
        [](const widgets::MessageRequest&) { return widgets::Answer::Ok; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
