// The month grid and the day click over ten years of filled days: every day
// from 2008 to 2017 has its RANTEBOU row with half of its slots filled.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/Unit1.h"
#include "calendar/MonthCalendar.h"
#include "core/AppGlobals.h"
#include "day/Unit2.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "store/Schema.h"
#include "widgets/WindowStyle.h"

namespace {

const QDate kFirstDay(2008, 1, 1);
const QDate kLastDay(2017, 12, 31);
const QDate kToday(2012, 5, 15);

void FillTenYears(const QString& connectionString) {
    store::Connection connection;
    connection.reopen(connectionString);
    QStringList columns{QStringLiteral("HMEROMHNIA")};
    QStringList marks{QStringLiteral("?")};
    for (int slot = 0; slot < store::SlotColumns().size(); slot += 2) {
        columns.append(store::QuoteIdentifier(store::SlotColumns().at(slot)));
        marks.append(QStringLiteral("?"));
    }
    const QString insert = QStringLiteral("INSERT INTO RANTEBOU (%1) VALUES (%2)")
                               .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    store::Execute(connection, QStringLiteral("BEGIN"));
    for (QDate day = kFirstDay; day <= kLastDay; day = day.addDays(1)) {
        QVariantList values{day.toString(Qt::ISODate)};
        for (int slot = 0; slot < store::SlotColumns().size(); slot += 2) {
            values.append(QStringLiteral("Συνάντηση %1 στο γραφείο").arg(slot));
        }
        store::Execute(connection, insert, values);
    }
    store::Execute(connection, QStringLiteral("COMMIT"));
}

// The working directory of the run, with the generated database.
struct TenYears {
    QTemporaryDir dir;
    TenYears() {
        const QString database = dir.path() + QStringLiteral("/data.mdb");
        QFile::copy(QStringLiteral(ORGANIZER_EMPTY_DB), database);
        QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
        QDir::setCurrent(dir.path());
        FillTenYears(store::BuildConnectionString(dir.path()));
        SetLocalNowForTests(QDateTime(kToday, QTime(9, 0)));
    }
};

// Switching the month list between two 31-day months that start on other
// weekdays: each switch is one whole FillMonthGrid, markers included.
void BM_FillMonthGrid(benchmark::State& state) {
    TForm1 form(StartupMode::CalendarOnly);
    form.show();
    auto* months = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    int month = 3;
    for (auto _ : state) {
        month = month == 3 ? 5 : 3;
        months->setCurrentIndex(month - 1);
    }
    state.counters["filled days"] = double(form.Calendar()->DaysInMonth);
}
BENCHMARK(BM_FillMonthGrid)->Unit(benchmark::kMillisecond);

void BM_RefreshDayMarkers(benchmark::State& state) {
    TForm1 form(StartupMode::CalendarOnly);
    form.show();
    for (auto _ : state) {
        form.Calendar()->RefreshDayMarkers();
    }
}
BENCHMARK(BM_RefreshDayMarkers)->Unit(benchmark::kMillisecond);

// From the click to the shown table: the row insert that fails on the key,
// the table's creation, its query on the day's row, and showing it.
void BM_DayClickUntilTableShown(benchmark::State& state) {
    TForm1 form(StartupMode::CalendarOnly);
    form.show();
    int day = 0;
    for (auto _ : state) {
        app().SelectedDay = day % 31 + 1;
        ++day;
        std::unique_ptr<TForm2> table = form.Calendar()->PrepareSelectedDayTable();
        if (table == nullptr) {
            state.SkipWithError("the day's row cannot be written");
            break;
        }
        form.hide();
        table->show();
        benchmark::DoNotOptimize(table->isVisible());
        state.PauseTiming();
        table->hide();
        table.reset();
        form.show();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DayClickUntilTableShown)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    widgets::InstallFontSubstitutions();
    const TenYears database;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
