#pragma once

#include <QString>
#include <QVector>

#include "store/RowCursor.h"

struct sqlite3;

namespace store {

class FieldCatalog;

// Writes one row of a data set to its table with bound values, found again
// by its rowid. Only the changed columns are written; after a write the row
// is read back, since the engine may have filled a counter or a default.
// A write and its read-back are one transaction: when either fails, nothing
// is stored, the row keeps the values it had, and the engine's message is
// raised as a DatabaseError.
class RowWriter {
public:
    RowWriter(sqlite3* db, const QString& table, const FieldCatalog& fields);

    void insert(Row& row, const QVector<bool>& changed);
    // Throws when the row is no longer there.
    void update(Row& row, const QVector<bool>& changed);
    void remove(const Row& row);

private:
    QVector<int> changedColumns(const QVector<bool>& changed) const;
    QStringList tableColumnsOf(const QVector<int>& columns) const;
    QVariantList valuesOf(const Row& row, const QVector<int>& columns) const;
    Row readBack(const Row& row) const;

    sqlite3* db_;
    QString table_;
    const FieldCatalog& fields_;
};

}  // namespace store
