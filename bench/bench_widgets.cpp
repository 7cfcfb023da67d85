// The grid's model over a large contact list: what opening it costs and what
// posting one row in it costs.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "widgets/DataSetModel.h"
#include "widgets/DataSource.h"

namespace {

const QStringList kColumns = {"ONOMATEPWNYMO", "DIEYTHYNSH", "THLEFWNO_1", "THLEFWNO_2",
                              "FAX",           "EMAIL",      "PERIGRAFH"};

struct Contacts {
    QTemporaryDir dir;
    store::Connection connection;
    explicit Contacts(int rows) {
        const QString file = dir.path() + QStringLiteral("/data.mdb");
        QFile::copy(QStringLiteral(ORGANIZER_EMPTY_DB), file);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        connection.reopen(store::BuildConnectionString(dir.path()));
        store::Execute(connection, QStringLiteral("BEGIN"));
        for (int i = 0; i < rows; ++i) {
            store::Execute(connection,
                           QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA VALUES "
                                          "(?, 'Οδός Ερμού 12', '2101234567', NULL, NULL, "
                                          "'someone@example.gr', 'Φίλος')"),
                           {QStringLiteral("Επαφή %1").arg(i)});
        }
        store::Execute(connection, QStringLiteral("COMMIT"));
    }
};

void BindModel(widgets::DataSetModel& model, widgets::DataSource& source) {
    for (const QString& column : kColumns) {
        model.addColumn({column, column, Qt::AlignLeft});
    }
    model.setDataSource(&source);
}

void BM_OpenContactsInGridModel(benchmark::State& state) {
    Contacts contacts(int(state.range(0)));
    for (auto _ : state) {
        store::Table table;
        table.setConnection(&contacts.connection);
        table.setTableName(QStringLiteral("XRHSIMA_THLEFWNA"));
        widgets::DataSource source;
        source.setDataSet(&table);
        widgets::DataSetModel model;
        BindModel(model, source);
        table.open();
        table.setSort(QStringLiteral("ONOMATEPWNYMO ASC"));
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_OpenContactsInGridModel)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_InsertAndPostOneRow(benchmark::State& state) {
    Contacts contacts(int(state.range(0)));
    store::Table table;
    table.setConnection(&contacts.connection);
    table.setTableName(QStringLiteral("XRHSIMA_THLEFWNA"));
    widgets::DataSource source;
    source.setDataSet(&table);
    widgets::DataSetModel model;
    BindModel(model, source);
    table.open();
    table.moveTo(table.recordCount() / 2);
    for (auto _ : state) {
        table.insert();
        table.setValue(0, QStringLiteral("Νέα επαφή"));
        table.post();
        state.PauseTiming();
        table.deleteRecord();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InsertAndPostOneRow)->Arg(5000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
