// The expenses search and the expenses by month over a large register: one
// million expenses over twenty years, once written roughly in date order (as
// a user enters them) and once in random date order, each with the index the
// empty database ships with and with only the date indexed (as in files
// written before the index covered the searches). Each measure is one press
// of Find in the real window, both result sets filled and shown: a repeated
// search, and a search after another connection changed the file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "core/AppGlobals.h"
#include "core/ProgramLocale.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "widgets/DBGrid.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

constexpr int kExpenses = 1000000;
constexpr int kDays = 7305;  // 2001-01-01 .. 2020-12-31

enum class Order { Entry, Random };
enum class Index { Shipped, DateOnly };

// Writes the expenses with one statement: the day grows with the row number,
// give or take a day, so that the file holds them roughly in entry order, or
// shuffled. About one expense in fifty has no VAT.
void WriteExpenses(const QString& folder, Order order, Index index) {
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/data.mdb");
    QFile::copy(QStringLiteral(ORGANIZER_EMPTY_DB), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    store::Connection connection;
    connection.reopen(store::BuildConnectionString(folder));
    store::Execute(connection, QStringLiteral("PRAGMA cache_size = -65536"));
    store::Execute(
        connection,
        QStringLiteral(
            "INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) "
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < ? - 1) "
            "SELECT date('2001-01-01', '+' || max(0, min(? - 1, i * ? / ? + abs(random()) % 3 - "
            "1)) "
            "|| ' days'), 1 + abs(random()) % 20000 AS p, "
            "CASE WHEN abs(random()) % 50 = 0 THEN NULL ELSE (1 + abs(random()) % 20000) * 23 / "
            "100 "
            "END, 'Έξοδο αριθμός ' || i FROM n %1")
            .arg(order == Order::Random ? QStringLiteral("ORDER BY random()") : QString()),
        {kExpenses, kDays, kDays, kExpenses});
    if (index == Index::DateOnly) {
        store::Execute(connection, QStringLiteral("DROP INDEX EKSODA_HMEROMHNIA"));
        store::Execute(connection, QStringLiteral("DROP INDEX EKSODA_HMEROMHNIA_AMOUNTS"));
        store::Execute(connection,
                       QStringLiteral("CREATE INDEX EKSODA_HMEROMHNIA ON EKSODA (HMEROMHNIA)"));
    }
    store::Execute(connection, QStringLiteral("PRAGMA cache_size = -2000"));
}

// The files are written once and kept beside the program for later runs.
QString ExpensesFolder(Order order, Index index) {
    const QString folder = QCoreApplication::applicationDirPath() +
                           QStringLiteral("/bench-expenses-%1-%2")
                               .arg(order == Order::Entry ? "entry" : "random",
                                    index == Index::Shipped ? "shipped-index" : "date-index");
    if (!QFile::exists(folder + QStringLiteral("/data.mdb"))) {
        WriteExpenses(folder, order, index);
    }
    return folder;
}

void UseFolder(const benchmark::State& state) {
    app().AppDirectory = ExpensesFolder(Order(state.range(0)), Index(state.range(1)));
    app().AppConnectionString = store::BuildConnectionString(app().AppDirectory);
}

int GridRows(QDialog& window) {
    return window.findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"))->model()->rowCount();
}

// A write through another connection, as when the register saves an
// expense between two searches: the search's connection must then read every
// page anew, as the first search after opening the window does.
void ChangeFile(store::Connection& other) {
    store::Execute(other, QStringLiteral("UPDATE EKSODA SET VAT = VAT WHERE rowid = 1"));
}

void PressFind(benchmark::State& state, QDialog& window, const QString& from, const QString& to) {
    const bool afterChange = state.range(2) != 0;
    store::Connection other;
    other.reopen(app().AppConnectionString);
    window.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(from);
    window.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(to);
    auto* find = window.findChild<QPushButton*>(QStringLiteral("Button1"));
    find->click();
    for (auto _ : state) {
        if (afterChange) {
            state.PauseTiming();
            ChangeFile(other);
            state.ResumeTiming();
        }
        find->click();
    }
    state.counters["rows"] = GridRows(window);
    if (!window.findChild<QPushButton*>(QStringLiteral("Button3"))->isEnabled()) {
        state.SkipWithError("the search failed");
    }
}

void BM_SearchOneMonth(benchmark::State& state) {
    UseFolder(state);
    TForm14 window;
    PressFind(state, window, QStringLiteral("1/6/2010"), QStringLiteral("30/6/2010"));
}
BENCHMARK(BM_SearchOneMonth)
    ->ArgNames({"random_order", "date_index_only", "after_change"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The months of one year, as a person looks at them: after another
// connection wrote, only the pages of that year are read again.
void BM_SumOneYearByMonth(benchmark::State& state) {
    UseFolder(state);
    TForm15 window;
    PressFind(state, window, QStringLiteral("2010"), QStringLiteral("2010"));
}
BENCHMARK(BM_SumOneYearByMonth)
    ->ArgNames({"random_order", "date_index_only", "after_change"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_SumTwentyYearsByMonth(benchmark::State& state) {
    UseFolder(state);
    TForm15 window;
    PressFind(state, window, QStringLiteral("2001"), QStringLiteral("2020"));
}
BENCHMARK(BM_SumTwentyYearsByMonth)
    ->ArgNames({"random_order", "date_index_only", "after_change"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

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
