// The expenses register over a large EKSODA. Opening it: the window made,
// the table read and sorted newest first, the grid's model ready. Posting
// one new expense in it: the press of Post, the row written, read back and
// placed in the grid.
//   bench_expenses_register --benchmark_filter=/1000000
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <memory>

#include "core/AppGlobals.h"
#include "core/ProgramLocale.h"
#include "expenses/Unit13.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBNavigator.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

// Expenses over 25 years in scattered order, with Greek descriptions.
struct Expenses {
    QTemporaryDir dir;
    explicit Expenses(int rows) {
        const QString file = dir.path() + QStringLiteral("/data.mdb");
        QFile::copy(QStringLiteral(ORGANIZER_EMPTY_DB), file);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        app().AppDirectory = dir.path();
        app().AppConnectionString = store::BuildConnectionString(dir.path());
        store::Connection connection;
        connection.reopen(app().AppConnectionString);
        store::Execute(connection,
                       QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 "
                                      "FROM n WHERE i + 1 < ?) "
                                      "INSERT INTO EKSODA SELECT "
                                      "date('2000-01-01', '+' || (i * 7919 % 9125) || ' days'), "
                                      "i * 37 % 100000 - 500, i * 13 % 2300, "
                                      "'Αγορά στο σούπερ μάρκετ ' || i FROM n"),
                       {rows});
    }
};

// The resident memory of the process, in MiB, from the kernel's page count.
double ResidentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> pages = statm.readAll().split(' ');
    return pages.size() > 1 ? pages[1].toDouble() * 4096 / (1024 * 1024) : 0;
}

void BM_OpenExpensesRegister(benchmark::State& state) {
    const Expenses expenses(int(state.range(0)));
    double openMiB = 0;
    for (auto _ : state) {
        const double residentBefore = ResidentMiB();
        auto form = std::make_unique<TForm13>();
        // What the open register holds, the rows and the grid's model: the
        // first opening shows it, later ones reuse the memory freed before.
        openMiB = std::max(openMiB, ResidentMiB() - residentBefore);
        auto* grid = form->findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"));
        if (grid->model()->rowCount() != state.range(0)) {
            state.SkipWithError("the register did not list every expense");
            break;
        }
        benchmark::DoNotOptimize(grid->model()->index(0, 1).data());
        // Closing is not opening.
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    state.counters["MiB"] = openMiB;
}
BENCHMARK(BM_OpenExpensesRegister)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The user's typing: the field takes the text as it takes typed keys.
void TypeInto(QWidget& window, int field, const QString& text) {
    auto* edit = window.findChild<widgets::DBEdit*>(QStringLiteral("DBEdit%1").arg(field));
    edit->setText(text);
    Q_EMIT edit->textEdited(text);
}

QAbstractButton* NavigatorButton(QWidget& window, widgets::NavigatorButton button) {
    return window.findChild<widgets::DBNavigator*>(QStringLiteral("DBNavigator1"))->button(button);
}

// Inserts a row, types an expense into it and presses Post; returns
// whether the grid gained the row. Only the press is timed, when timed at
// all.
bool PostOneExpense(QWidget& form, benchmark::State* timed) {
    static const QStringList typed = {QStringLiteral("1/4/2009"), QStringLiteral("15,20"),
                                      QStringLiteral("3,50"), QStringLiteral("Βιβλία")};
    const QAbstractItemModel* grid =
        form.findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"))->model();
    const int rowsBefore = grid->rowCount();
    if (timed != nullptr) {
        timed->PauseTiming();
    }
    NavigatorButton(form, widgets::NavigatorButton::Insert)->click();
    for (int field = 1; field <= typed.size(); ++field) {
        TypeInto(form, field, typed.at(field - 1));
    }
    if (timed != nullptr) {
        timed->ResumeTiming();
    }
    NavigatorButton(form, widgets::NavigatorButton::Post)->click();
    return grid->rowCount() == rowsBefore + 1;
}

// The window's second and later posts: the first write of a connection reads
// the whole file, whatever its size, and is left out. The files are written
// once for every run of the measure.
void BM_PostExpense(benchmark::State& state) {
    static std::map<int, std::unique_ptr<Expenses>> files;
    std::unique_ptr<Expenses>& expenses = files[int(state.range(0))];
    if (expenses == nullptr) {
        expenses = std::make_unique<Expenses>(int(state.range(0)));
    }
    app().AppDirectory = expenses->dir.path();
    app().AppConnectionString = store::BuildConnectionString(expenses->dir.path());
    TForm13 form;
    bool posted = PostOneExpense(form, nullptr);
    for (auto _ : state) {
        posted = posted && PostOneExpense(form, &state);
    }
    if (!posted) {
        state.SkipWithError("an expense was not posted");
    }
    state.counters["file_MiB"] =
        double(QFileInfo(app().AppDirectory + QStringLiteral("/data.mdb")).size()) / (1024 * 1024);
}
BENCHMARK(BM_PostExpense)
    ->Arg(1000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ApplyProgramLocale();
    widgets::InstallFontSubstitutions();
    // A refused post shows its message and the measure stops there.
    widgets::SetMessageResponder(
        [](const widgets::MessageRequest&) { return widgets::Answer::Ok; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
