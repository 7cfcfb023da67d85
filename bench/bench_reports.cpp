// Printing the whole notebook: 1,000 notes of 2 KB each rendered to a PDF,
// from the open query to the file on disk.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "reports/RvDataSetConnection.h"
#include "reports/RvProject.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "widgets/WindowStyle.h"

namespace {

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
    QString layout;

    Notebook() {
        const QString database = dir.path() + QStringLiteral("/data.mdb");
        QFile::copy(QStringLiteral(ORGANIZER_EMPTY_DB), database);
        QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
        layout = dir.path() + QStringLiteral("/NOTES.RAV");
        QFile::copy(QFileInfo(QStringLiteral(ORGANIZER_EMPTY_DB))
                        .dir()
                        .filePath(QStringLiteral("NOTES.RAV")),
                    layout);
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
    project.setProjectFile(notebook.layout);
    const QString pdf = notebook.dir.path() + QStringLiteral("/notes.pdf");
    qputenv("KAVELO_REPORT_PDF", pdf.toUtf8());
    for (auto _ : state) {
        project.Execute();
    }
    state.counters["KB"] = double(QFileInfo(pdf).size()) / 1024;
    qunsetenv("KAVELO_REPORT_PDF");
}
BENCHMARK(BM_PrintThousandNotesToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    widgets::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
