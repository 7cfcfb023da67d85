#include "store/FieldCatalog.h"

#include <sqlite3.h>

#include <QRegularExpression>
#include <algorithm>

#include "store/DatabaseError.h"
#include "store/Statement.h"

namespace store {
namespace {

FieldInfo::Kind KindOf(const QString& declaredType, bool counter, int* size) {
    static const QRegularExpression sized(QStringLiteral("CHAR\\s*\\(\\s*(\\d+)\\s*\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString type = declaredType.toUpper();
    *size = 0;
    if (counter) {
        return FieldInfo::Kind::Counter;
    }
    if (type.contains(QLatin1String("CENTS"))) {
        return FieldInfo::Kind::Cents;
    }
    if (type.contains(QLatin1String("DATE"))) {
        return FieldInfo::Kind::Date;
    }
    const QRegularExpressionMatch match = sized.match(type);
    if (match.hasMatch()) {
        *size = match.captured(1).toInt();
        return FieldInfo::Kind::Text;
    }
    if (type.contains(QLatin1String("INT"))) {
        return FieldInfo::Kind::Integer;
    }
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
        type.contains(QLatin1String("DOUB"))) {
        return FieldInfo::Kind::Real;
    }
    return FieldInfo::Kind::Memo;
}

bool IsCounter(sqlite3* db, const QString& table, const QString& column) {
    const char* type = nullptr;
    int notNull = 0;
    int primaryKey = 0;
    int autoIncrement = 0;
    const QByteArray t = table.toUtf8();
    const QByteArray c = column.toUtf8();
    if (sqlite3_table_column_metadata(db, nullptr, t.constData(), c.constData(), &type, nullptr,
                                      &notNull, &primaryKey, &autoIncrement) != SQLITE_OK) {
        return false;
    }
    return primaryKey != 0 &&
           QString::fromUtf8(type).compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
}

}  // namespace

void FieldCatalog::describe(sqlite3* db, const Statement& statement, int firstColumn,
                            const QString& updateTable) {
    fields_.clear();
    for (int i = firstColumn; i < statement.columnCount(); ++i) {
        FieldInfo field;
        field.name = statement.columnName(i);
        field.declaredType = statement.columnDeclaredType(i);
        const QString table = statement.columnTable(i);
        if (!updateTable.isEmpty() && table == updateTable) {
            field.origin = statement.columnOrigin(i);
        }
        const bool counter = !field.origin.isEmpty() && IsCounter(db, table, field.origin);
        field.kind = KindOf(field.declaredType, counter, &field.size);
        field.readOnly = field.origin.isEmpty() || counter;
        fields_.append(field);
    }
    const bool readsUpdateTable = std::any_of(
        fields_.cbegin(), fields_.cend(), [](const FieldInfo& f) { return !f.origin.isEmpty(); });
    if (!updateTable.isEmpty() && !readsUpdateTable) {
        throw DatabaseError(
            QStringLiteral("The query reads no column of its table '%1'.").arg(updateTable));
    }
}

int FieldCatalog::indexOf(const QString& name) const {
    for (int i = 0; i < fields_.size(); ++i) {
        if (fields_.at(i).name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int FieldCatalog::require(const QString& name) const {
    const int column = indexOf(name);
    if (column < 0) {
        throw DatabaseError(QStringLiteral("Field '%1' not found.").arg(name));
    }
    return column;
}

void FieldCatalog::requireWritable(int column) const {
    if (column < 0 || column >= fields_.size()) {
        throw DatabaseError(QStringLiteral("Field index %1 is out of range.").arg(column));
    }
    if (fields_.at(column).readOnly) {
        throw DatabaseError(
            QStringLiteral("Field '%1' cannot be modified.").arg(fields_.at(column).name));
    }
}

}  // namespace store
