#include "store/DataSet.h"

#include <sqlite3.h>

#include <QCollator>
#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/Statement.h"

namespace store {
namespace {

const QString kRowidColumn = QStringLiteral("__rowid__");

struct SortKey {
    int column;
    bool descending;
    // Dates are ISO text, in date order as they stand: comparing them plainly
    // is right and spares the collator on large tables.
    bool collated = true;
};

const QCollator& GreekCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Greek, QLocale::Greece));
        c.setNumericMode(true);
        return c;
    }();
    return collator;
}

bool IsNumber(const QVariant& v) {
    const int type = v.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Double || type == QMetaType::Int;
}

// A value read out of its variant once, so that sorting many rows does not
// unpack the same variants again at every comparison.
struct SortValue {
    QString text;  // a number's text too, for comparing it with text
    double number = 0;
    qint64 isoDay = -1;  // YYYY-MM-DD text as the number YYYYMMDD, else -1
    bool isNull = false;
    bool isNumber = false;
};

// Two ISO dates compare as their numbers YYYYMMDD exactly as they compare as
// text, only faster.
qint64 IsoDayNumber(const QString& text) {
    if (text.size() != 10 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-')) {
        return -1;
    }
    qint64 day = 0;
    for (const int at : {0, 1, 2, 3, 5, 6, 8, 9}) {
        const char16_t digit = text.at(at).unicode();
        if (digit < u'0' || digit > u'9') {
            return -1;
        }
        day = day * 10 + (digit - u'0');
    }
    return day;
}

SortValue ReadSortValue(const QVariant& v) {
    SortValue value;
    value.isNull = v.isNull();
    if (!value.isNull) {
        value.isNumber = IsNumber(v);
        value.number = value.isNumber ? v.toDouble() : 0;
        value.text = v.toString();
        value.isoDay = value.isNumber ? -1 : IsoDayNumber(value.text);
    }
    return value;
}

int CompareSortValues(const SortValue& a, const SortValue& b, bool collated) {
    if (a.isNull || b.isNull) {
        return a.isNull && b.isNull ? 0 : (a.isNull ? -1 : 1);
    }
    if (a.isNumber && b.isNumber) {
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    }
    if (collated) {
        return GreekCollator().compare(a.text, b.text);
    }
    if (a.isoDay >= 0 && b.isoDay >= 0) {
        return a.isoDay < b.isoDay ? -1 : (a.isoDay > b.isoDay ? 1 : 0);
    }
    return QString::compare(a.text, b.text);
}

int CompareValues(const QVariant& a, const QVariant& b) {
    return CompareSortValues(ReadSortValue(a), ReadSortValue(b), true);
}

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

QVector<SortKey> ParseSort(const QString& sort, const std::function<int(const QString&)>& index) {
    QVector<SortKey> keys;
    const QStringList parts = sort.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QStringList words = part.simplified().split(QLatin1Char(' '));
        bool descending = false;
        if (words.size() > 1) {
            const QString direction = words.takeLast().toUpper();
            if (direction != QLatin1String("ASC") && direction != QLatin1String("DESC")) {
                throw DatabaseError(QStringLiteral("Invalid sort order '%1'.").arg(part));
            }
            descending = direction == QLatin1String("DESC");
        }
        QString name = words.join(QLatin1Char(' '));
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']'))) {
            name = name.mid(1, name.size() - 2);
        }
        const int column = index(name);
        if (column < 0) {
            throw DatabaseError(QStringLiteral("Item cannot be found in the collection "
                                               "corresponding to the requested name: '%1'.")
                                    .arg(name));
        }
        keys.append({column, descending});
    }
    return keys;
}

}  // namespace

QString QuoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

DataSet::DataSet(QObject* parent) : QObject(parent) {}

DataSet::~DataSet() {
    if (connection_ != nullptr) {
        connection_->detach(this);
    }
}

void DataSet::setConnection(Connection* connection) {
    if (connection_ == connection) {
        return;
    }
    close();
    connection_ = connection;
}

void DataSet::open() {
    if (isActive()) {
        return;
    }
    if (connection_ == nullptr) {
        throw DatabaseError(QStringLiteral("The data set has no connection."));
    }
    connection_->open();
    load();
    connection_->attach(this);
    bof_ = true;
    eof_ = rows_.isEmpty();
    current_ = rows_.isEmpty() ? -1 : 0;
    setState(State::Browse);
    Q_EMIT rowsReset();
    Q_EMIT currentRowChanged(current_);
}

void DataSet::load() {
    sqlite3* db = connection_->handle();
    QString sql = selectSql();
    Statement probe(db, sql);
    QString table = declaredUpdateTable();
    if (table.isEmpty() && detectsUpdateTable() && probe.columnCount() > 0) {
        table = probe.columnTable(0);
        for (int i = 1; i < probe.columnCount() && !table.isEmpty(); ++i) {
            if (probe.columnTable(i) != table) {
                table.clear();
            }
        }
    }
    updateTable_ = table;
    int firstColumn = 0;
    if (!updateTable_.isEmpty()) {
        static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s+"),
                                               QRegularExpression::CaseInsensitiveOption);
        sql.replace(select, QStringLiteral("SELECT rowid AS %1, ").arg(kRowidColumn));
        firstColumn = 1;
    }
    Statement statement(db, sql);
    statement.bind(selectParameters());
    describeFields(statement, firstColumn);
    rows_.clear();
    while (statement.step()) {
        Row row;
        row.rowid = firstColumn == 1 ? statement.value(0).toLongLong() : 0;
        row.values.reserve(fields_.size());
        for (int i = firstColumn; i < statement.columnCount(); ++i) {
            row.values.append(statement.value(i));
        }
        rows_.append(std::move(row));
    }
    applySort();
}

void DataSet::describeFields(const Statement& statement, int firstColumn) {
    fields_.clear();
    sqlite3* db = connection_->handle();
    for (int i = firstColumn; i < statement.columnCount(); ++i) {
        FieldInfo field;
        field.name = statement.columnName(i);
        field.declaredType = statement.columnDeclaredType(i);
        const QString table = statement.columnTable(i);
        if (!updateTable_.isEmpty() && table == updateTable_) {
            field.origin = statement.columnOrigin(i);
        }
        const bool counter = !field.origin.isEmpty() && IsCounter(db, table, field.origin);
        field.kind = KindOf(field.declaredType, counter, &field.size);
        field.readOnly = field.origin.isEmpty() || counter;
        fields_.append(field);
    }
    modifiedColumns_.fill(false, fields_.size());
}

void DataSet::applySort() {
    if (sort_.isEmpty() || rows_.isEmpty()) {
        return;
    }
    QVector<SortKey> keys =
        ParseSort(sort_, [this](const QString& name) { return fieldIndex(name); });
    for (SortKey& key : keys) {
        key.collated = fields_.at(key.column).kind != FieldInfo::Kind::Date;
    }
    const int count = int(rows_.size());
    QVector<QVector<SortValue>> values(keys.size());
    for (int k = 0; k < keys.size(); ++k) {
        values[k].reserve(count);
        for (const Row& row : rows_) {
            values[k].append(ReadSortValue(row.values.at(keys.at(k).column)));
        }
    }
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys, &values](int a, int b) {
        for (int k = 0; k < keys.size(); ++k) {
            const int compared =
                CompareSortValues(values.at(k).at(a), values.at(k).at(b), keys.at(k).collated);
            if (compared != 0) {
                return keys.at(k).descending ? compared > 0 : compared < 0;
            }
        }
        return false;
    });
    QVector<Row> sorted;
    sorted.reserve(count);
    for (const int row : order) {
        sorted.append(std::move(rows_[row]));
    }
    rows_ = std::move(sorted);
}

void DataSet::setSort(const QString& sort) {
    if (!isActive()) {
        sort_ = sort;
        return;
    }
    checkBrowseMode();
    ParseSort(sort, [this](const QString& name) { return fieldIndex(name); });
    const qint64 currentRowid = current_ >= 0 ? rows_.at(current_).rowid : 0;
    const QVector<QVariant> currentValues =
        current_ >= 0 ? rows_.at(current_).values : QVector<QVariant>();
    sort_ = sort;
    applySort();
    int found = current_ < 0 ? -1 : 0;
    for (int i = 0; i < rows_.size(); ++i) {
        if (rows_.at(i).rowid == currentRowid && rows_.at(i).values == currentValues) {
            found = i;
            break;
        }
    }
    current_ = found;
    Q_EMIT rowsReset();
    Q_EMIT currentRowChanged(current_);
}

void DataSet::close() {
    if (!isActive()) {
        return;
    }
    rows_.clear();
    fields_.clear();
    modifiedColumns_.clear();
    modified_ = false;
    current_ = -1;
    bof_ = eof_ = true;
    if (connection_ != nullptr) {
        connection_->detach(this);
    }
    setState(State::Inactive);
    Q_EMIT rowsReset();
    Q_EMIT currentRowChanged(current_);
}

void DataSet::setState(State state) {
    if (state_ == state) {
        return;
    }
    state_ = state;
    Q_EMIT stateChanged(state_);
}

void DataSet::setCurrent(int row) {
    const bool changed = row != current_;
    current_ = row;
    if (changed) {
        Q_EMIT currentRowChanged(current_);
    }
}

void DataSet::requireActive() const {
    if (!isActive()) {
        throw DatabaseError(QStringLiteral("Operation is not allowed when the object is closed."));
    }
}

void DataSet::requireUpdatable() const {
    requireActive();
    if (!isUpdatable()) {
        throw DatabaseError(QStringLiteral("Cannot modify a read-only dataset."));
    }
}

void DataSet::first() {
    requireActive();
    checkBrowseMode();
    setCurrent(rows_.isEmpty() ? -1 : 0);
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void DataSet::last() {
    requireActive();
    checkBrowseMode();
    setCurrent(int(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.isEmpty();
}

void DataSet::next() {
    requireActive();
    checkBrowseMode();
    if (current_ + 1 >= rows_.size()) {
        eof_ = true;
        return;
    }
    setCurrent(current_ + 1);
    bof_ = eof_ = false;
}

void DataSet::prior() {
    requireActive();
    checkBrowseMode();
    if (current_ <= 0) {
        bof_ = true;
        return;
    }
    setCurrent(current_ - 1);
    bof_ = eof_ = false;
}

void DataSet::moveTo(int row) {
    requireActive();
    if (row == current_) {
        return;
    }
    const int newRow = state_ == State::Insert ? current_ : -1;
    const bool dropsNewRow = newRow >= 0 && !modified_;
    checkBrowseMode();
    if (dropsNewRow && row > newRow) {
        --row;
    }
    if (row < 0 || row >= rows_.size()) {
        return;
    }
    setCurrent(row);
    bof_ = eof_ = false;
}

bool DataSet::locate(const QString& fieldName, const QVariant& value) {
    requireActive();
    const int column = fieldByName(fieldName);
    for (int i = 0; i < rows_.size(); ++i) {
        if (CompareValues(rows_.at(i).values.at(column), value) == 0) {
            moveTo(i);
            return true;
        }
    }
    return false;
}

int DataSet::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields_.size(); ++i) {
        if (fields_.at(i).name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int DataSet::fieldByName(const QString& name) const {
    const int column = fieldIndex(name);
    if (column < 0) {
        throw DatabaseError(QStringLiteral("Field '%1' not found.").arg(name));
    }
    return column;
}

QVariant DataSet::value(int column) const {
    if (current_ < 0) {
        return {};
    }
    return valueAt(current_, column);
}

QVariant DataSet::valueAt(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= fields_.size()) {
        return {};
    }
    return rows_.at(row).values.at(column);
}

QString DataSet::asString(int column) const {
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

qint64 DataSet::asInteger(int column) const {
    return value(column).toLongLong();
}

void DataSet::setValue(int column, const QVariant& value) {
    requireUpdatable();
    if (column < 0 || column >= fields_.size()) {
        throw DatabaseError(QStringLiteral("Field index %1 is out of range.").arg(column));
    }
    if (fields_.at(column).readOnly) {
        throw DatabaseError(
            QStringLiteral("Field '%1' cannot be modified.").arg(fields_.at(column).name));
    }
    if (state_ == State::Browse) {
        edit();
    }
    rows_[current_].values[column] = value;
    modifiedColumns_[column] = true;
    modified_ = true;
    Q_EMIT rowChanged(current_);
}

void DataSet::edit() {
    requireUpdatable();
    if (state_ != State::Browse) {
        return;
    }
    // An empty set has no row to edit: editing it starts a new one.
    if (rows_.isEmpty()) {
        insert();
        return;
    }
    savedRow_ = rows_.at(current_);
    modifiedColumns_.fill(false);
    modified_ = false;
    setState(State::Edit);
}

void DataSet::insert() {
    requireUpdatable();
    checkBrowseMode();
    const int at = current_ < 0 ? 0 : current_;
    Row row;
    row.values.resize(fields_.size());
    rows_.insert(at, row);
    modifiedColumns_.fill(false);
    modified_ = false;
    current_ = at;
    bof_ = eof_ = false;
    Q_EMIT rowInserted(at);
    setState(State::Insert);
    Q_EMIT currentRowChanged(current_);
}

void DataSet::checkBrowseMode() {
    if (state_ != State::Edit && state_ != State::Insert) {
        return;
    }
    if (modified_) {
        post();
    } else {
        cancel();
    }
}

void DataSet::post() {
    requireActive();
    // A new row nobody typed into is dropped, never stored as a row of NULLs.
    if (state_ == State::Insert && !modified_) {
        cancel();
        return;
    }
    if (state_ == State::Insert) {
        insertRow();
    } else if (state_ == State::Edit) {
        if (modified_) {
            updateRow();
        }
    } else {
        return;
    }
    modifiedColumns_.fill(false);
    modified_ = false;
    setState(State::Browse);
    Q_EMIT rowChanged(current_);
}

QStringList DataSet::tableColumnsOf(const QVector<int>& columns) const {
    QStringList names;
    for (int column : columns) {
        names.append(QuoteIdentifier(fields_.at(column).origin));
    }
    return names;
}

void DataSet::insertRow() {
    QVector<int> columns;
    QVariantList values;
    for (int i = 0; i < fields_.size(); ++i) {
        if (modifiedColumns_.at(i)) {
            columns.append(i);
            values.append(rows_.at(current_).values.at(i));
        }
    }
    sqlite3* db = connection_->handle();
    const QString table = QuoteIdentifier(updateTable_);
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
    Statement statement(db, sql);
    statement.bind(values);
    statement.execute();
    Row& row = rows_[current_];
    row.rowid = sqlite3_last_insert_rowid(db);
    refreshRow(row);
}

void DataSet::updateRow() {
    QVector<int> columns;
    QVariantList values;
    QStringList assignments;
    for (int i = 0; i < fields_.size(); ++i) {
        if (modifiedColumns_.at(i)) {
            columns.append(i);
            values.append(rows_.at(current_).values.at(i));
            assignments.append(QuoteIdentifier(fields_.at(i).origin) + QStringLiteral(" = ?"));
        }
    }
    Row& row = rows_[current_];
    values.append(row.rowid);
    Statement statement(connection_->handle(), QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                                   .arg(QuoteIdentifier(updateTable_),
                                                        assignments.join(QLatin1String(", "))));
    statement.bind(values);
    if (statement.execute() == 0) {
        throw DatabaseError(
            QStringLiteral("Row cannot be located for updating. Some values may "
                           "have been changed since it was last read."));
    }
    refreshRow(row);
}

void DataSet::refreshRow(Row& row) {
    // The engine may have filled a counter or a default; read the row back.
    QVector<int> columns;
    for (int i = 0; i < fields_.size(); ++i) {
        if (!fields_.at(i).origin.isEmpty()) {
            columns.append(i);
        }
    }
    if (columns.isEmpty()) {
        return;
    }
    Statement statement(
        connection_->handle(),
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
            .arg(tableColumnsOf(columns).join(QLatin1String(", ")), QuoteIdentifier(updateTable_)));
    statement.bind({row.rowid});
    if (statement.step()) {
        for (int i = 0; i < columns.size(); ++i) {
            row.values[columns.at(i)] = statement.value(i);
        }
    }
}

void DataSet::cancel() {
    if (state_ == State::Insert) {
        const int at = current_;
        rows_.removeAt(at);
        modifiedColumns_.fill(false);
        modified_ = false;
        Q_EMIT rowRemoved(at);
        setState(State::Browse);
        current_ = rows_.isEmpty() ? -1 : std::min(at, int(rows_.size()) - 1);
        bof_ = current_ <= 0;
        eof_ = rows_.isEmpty();
        Q_EMIT currentRowChanged(current_);
    } else if (state_ == State::Edit) {
        rows_[current_] = savedRow_;
        modifiedColumns_.fill(false);
        modified_ = false;
        setState(State::Browse);
        Q_EMIT rowChanged(current_);
    }
}

void DataSet::deleteRecord() {
    requireUpdatable();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (rows_.isEmpty()) {
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset."));
    }
    const int at = current_;
    Statement statement(
        connection_->handle(),
        QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QuoteIdentifier(updateTable_)));
    statement.bind({rows_.at(at).rowid});
    statement.execute();
    rows_.removeAt(at);
    Q_EMIT rowRemoved(at);
    current_ = rows_.isEmpty() ? -1 : std::min(at, int(rows_.size()) - 1);
    bof_ = current_ <= 0;
    eof_ = rows_.isEmpty();
    Q_EMIT currentRowChanged(current_);
}

bool Query::detectsUpdateTable() const {
    static const QRegularExpression complex(
        QStringLiteral("\\b(GROUP\\s+BY|DISTINCT|UNION|JOIN|HAVING|INTERSECT|EXCEPT)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return !readOnly_ && !sql_.contains(complex);
}

QString Table::selectSql() const {
    return QStringLiteral("SELECT * FROM %1").arg(QuoteIdentifier(table_));
}

}  // namespace store
