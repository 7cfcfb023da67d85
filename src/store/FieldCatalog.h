#pragma once

#include <QString>
#include <QVector>

struct sqlite3;

namespace store {

class Statement;

struct FieldInfo {
    enum class Kind { Text, Memo, Integer, Real, Date, Cents, Counter };
    QString name;          // the result column's name
    QString origin;        // the table column it comes from; empty for expressions
    QString declaredType;  // as the table declares it
    Kind kind = Kind::Memo;
    int size = 0;  // declared length of a short text; 0 when unlimited
    bool readOnly = false;
};

// The fields of a data set, as the engine describes the columns of its
// statement. Only plain columns of the table the set writes to can be
// changed, and never a counter the engine fills.
class FieldCatalog {
public:
    // Columns before firstColumn are the set's own bookkeeping, not fields.
    // Throws when an update table is named but no column comes from it.
    void describe(sqlite3* db, const Statement& statement, int firstColumn,
                  const QString& updateTable);
    void clear() { fields_.clear(); }

    int count() const { return int(fields_.size()); }
    const FieldInfo& at(int column) const { return fields_.at(column); }
    // -1 when there is no such field; names compare without letter case.
    int indexOf(const QString& name) const;
    // Like indexOf, but throws when the field does not exist.
    int require(const QString& name) const;
    // Throws unless the column exists and may be changed.
    void requireWritable(int column) const;

private:
    QVector<FieldInfo> fields_;
};

}  // namespace store
