// Opening a connection and running one query: the path every window action
// takes. The first open pays the key derivation; the later ones must not.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataSet.h"

namespace {

struct BenchDatabase {
    QTemporaryDir dir;
    QString connectionString;
    BenchDatabase() {
        QFile::copy(QStringLiteral(ORGANIZER_EMPTY_DB), dir.path() + QStringLiteral("/data.mdb"));
        QFile::setPermissions(dir.path() + QStringLiteral("/data.mdb"),
                              QFile::ReadOwner | QFile::WriteOwner);
        connectionString = store::BuildConnectionString(dir.path());
    }
};

BenchDatabase& Database() {
    static BenchDatabase database;
    return database;
}

void BM_FirstOpenWithKeyDerivation(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        store::DiscardIdleHandles();
        state.ResumeTiming();
        store::Connection connection;
        connection.reopen(Database().connectionString);
        benchmark::DoNotOptimize(store::ScalarQuery(
            connection, QStringLiteral("select count(*) as synolo from ADMINISTRATOR_ACCOUNT")));
        connection.close();
    }
}
BENCHMARK(BM_FirstOpenWithKeyDerivation)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenQueryClose(benchmark::State& state) {
    store::Connection warm;
    warm.reopen(Database().connectionString);
    warm.close();
    for (auto _ : state) {
        store::Connection connection;
        connection.reopen(Database().connectionString);
        benchmark::DoNotOptimize(store::ScalarQuery(
            connection, QStringLiteral("select count(*) as synolo from ADMINISTRATOR_ACCOUNT")));
        connection.close();
    }
}
BENCHMARK(BM_OpenQueryClose)->Unit(benchmark::kMicrosecond);

void BM_OpenTableDataSet(benchmark::State& state) {
    store::Connection connection;
    connection.reopen(Database().connectionString);
    for (auto _ : state) {
        store::Table table;
        table.setConnection(&connection);
        table.setTableName(QStringLiteral("XRHSIMA_THLEFWNA"));
        table.setSort(QStringLiteral("ONOMATEPWNYMO ASC"));
        table.open();
        benchmark::DoNotOptimize(table.recordCount());
    }
}
BENCHMARK(BM_OpenTableDataSet)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
