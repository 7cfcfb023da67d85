#include "store/RowWriter.h"

#include <sqlite3.h>

#include <QStringList>

#include "store/DatabaseError.h"
#include "store/FieldCatalog.h"
#include "store/FileFault.h"
#include "store/Statement.h"

namespace store {
namespace {

// A savepoint rather than BEGIN, so that a write inside a caller's own
// transaction nests instead of failing. The file is checked inside it, so
// that the check and the write see the same file.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db) : db_(db) {
        Statement(db_, QStringLiteral("SAVEPOINT row_write")).execute();
        try {
            RequireIntactFile(db_);
        } catch (const DatabaseError&) {
            rollBack();
            throw;
        }
    }
    ~WriteTransaction() {
        if (!committed_) {
            rollBack();
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void commit() {
        Statement(db_, QStringLiteral("RELEASE row_write")).execute();
        committed_ = true;
        NoteOwnWriteEnded(db_);
    }

private:
    void rollBack() {
        // A trigger that raised ROLLBACK, or a failed write the engine
        // rolled back itself, has ended the transaction already; the next
        // write then reads the file in full.
        const bool rolledBack = sqlite3_get_autocommit(db_) == 0 &&
                                sqlite3_exec(db_, "ROLLBACK TO row_write; RELEASE row_write",
                                             nullptr, nullptr, nullptr) == SQLITE_OK;
        if (rolledBack) {
            NoteOwnWriteEnded(db_);
        } else {
            ForgetIntactFile(db_);
        }
    }

    sqlite3* db_;
    bool committed_ = false;
};

}  // namespace

RowWriter::RowWriter(sqlite3* db, const QString& table, const FieldCatalog& fields)
    : db_(db), table_(table), fields_(fields) {}

QVector<int> RowWriter::changedColumns(const QVector<bool>& changed) const {
    QVector<int> columns;
    for (int i = 0; i < changed.size(); ++i) {
        if (changed.at(i)) {
            columns.append(i);
        }
    }
    return columns;
}

QStringList RowWriter::tableColumnsOf(const QVector<int>& columns) const {
    QStringList names;
    for (int column : columns) {
        names.append(QuoteIdentifier(fields_.at(column).origin));
    }
    return names;
}

QVariantList RowWriter::valuesOf(const Row& row, const QVector<int>& columns) const {
    QVariantList values;
    for (int column : columns) {
        values.append(row.values.at(column));
    }
    return values;
}

void RowWriter::insert(Row& row, const QVector<bool>& changed) {
    const QVector<int> columns = changedColumns(changed);
    const QString table = QuoteIdentifier(table_);
    QString sql;
    if (columns.isEmpty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
    } else {
        QStringList marks;
        marks.fill(QStringLiteral("?"), columns.size());
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(table, tableColumnsOf(columns).join(QLatin1String(", ")),
                       marks.join(QLatin1String(", ")));
    }
    WriteTransaction transaction(db_);
    Statement statement(db_, sql);
    statement.bind(valuesOf(row, columns));
    statement.execute();
    Row stored = row;
    stored.rowid = sqlite3_last_insert_rowid(db_);
    stored = readBack(stored);
    transaction.commit();
    row = stored;
}

void RowWriter::update(Row& row, const QVector<bool>& changed) {
    const QVector<int> columns = changedColumns(changed);
    QStringList assignments = tableColumnsOf(columns);
    for (QString& assignment : assignments) {
        assignment += QStringLiteral(" = ?");
    }
    QVariantList values = valuesOf(row, columns);
    values.append(row.rowid);
    WriteTransaction transaction(db_);
    Statement statement(db_,
                        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                            .arg(QuoteIdentifier(table_), assignments.join(QLatin1String(", "))));
    statement.bind(values);
    if (statement.execute() == 0) {
        throw DatabaseError(
            QStringLiteral("Row cannot be located for updating. Some values may "
                           "have been changed since it was last read."));
    }
    const Row stored = readBack(row);
    transaction.commit();
    row = stored;
}

void RowWriter::remove(const Row& row) {
    WriteTransaction transaction(db_);
    Statement statement(
        db_, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QuoteIdentifier(table_)));
    statement.bind({row.rowid});
    statement.execute();
    transaction.commit();
}

Row RowWriter::readBack(const Row& row) const {
    QVector<int> columns;
    for (int i = 0; i < fields_.count(); ++i) {
        if (!fields_.at(i).origin.isEmpty()) {
            columns.append(i);
        }
    }
    Row stored = row;
    if (columns.isEmpty()) {
        return stored;
    }
    Statement statement(
        db_, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                 .arg(tableColumnsOf(columns).join(QLatin1String(", ")), QuoteIdentifier(table_)));
    statement.bind({row.rowid});
    if (statement.step()) {
        for (int i = 0; i < columns.size(); ++i) {
            stored.values[columns.at(i)] = statement.value(i);
        }
    }
    return stored;
}

}  // namespace store
