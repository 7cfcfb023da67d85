#include "store/DataSet.h"

#include <QRegularExpression>

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/RowSorter.h"
#include "store/RowWriter.h"

namespace store {
namespace {

// An updatable set reads each row's rowid ahead of its fields, so that a
// write finds the row again whatever its values.
QString SelectWithRowid(QString sql) {
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s+"),
                                           QRegularExpression::CaseInsensitiveOption);
    return sql.replace(select, QStringLiteral("SELECT rowid AS __rowid__, "));
}

}  // namespace

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
    if (connection_ != nullptr) {
        connection_->detach(this);
    }
    connection_ = connection;
    if (connection_ != nullptr) {
        connection_->attach(this);
    }
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
    setState(State::Browse);
    Q_EMIT rowsReset();
    Q_EMIT currentRowChanged(cursor_.current());
}

void DataSet::load() {
    sqlite3* db = connection_->handle();
    const QString table = updateTableName();
    const int firstColumn = table.isEmpty() ? 0 : 1;
    Statement statement(db, table.isEmpty() ? selectSql() : SelectWithRowid(selectSql()));
    statement.bind(selectParameters());
    fields_.describe(db, statement, firstColumn, table);
    modifiedColumns_.fill(false, fields_.count());
    QVector<Row> rows;
    while (statement.step()) {
        Row row;
        row.rowid = firstColumn == 1 ? statement.value(0).toLongLong() : 0;
        row.values.reserve(fields_.count());
        for (int i = firstColumn; i < statement.columnCount(); ++i) {
            row.values.append(statement.value(i));
        }
        rows.append(std::move(row));
    }
    if (!sort_.isEmpty() && !rows.isEmpty()) {
        RowSorter(sort_, fields_).sort(rows);
    }
    cursor_.reset(std::move(rows));
    writeTable_ = table;
}

void DataSet::setSort(const QString& sort) {
    if (!isActive()) {
        sort_ = sort;
        return;
    }
    checkBrowseMode();
    const RowSorter sorter(sort, fields_);
    const int current = cursor_.current();
    const Row currentRow = current >= 0 ? cursor_.row(current) : Row();
    sort_ = sort;
    sorter.sort(cursor_.rows());
    int found = current < 0 ? -1 : 0;
    for (int i = 0; i < cursor_.count(); ++i) {
        const Row& row = cursor_.row(i);
        if (row.rowid == currentRow.rowid && row.values == currentRow.values) {
            found = i;
            break;
        }
    }
    cursor_.place(found);
    Q_EMIT rowsReset();
    Q_EMIT currentRowChanged(found);
}

void DataSet::close() {
    if (!isActive()) {
        return;
    }
    cursor_.clear();
    fields_.clear();
    modifiedColumns_.clear();
    modified_ = false;
    setState(State::Inactive);
    Q_EMIT rowsReset();
    Q_EMIT currentRowChanged(cursor_.current());
}

void DataSet::setState(State state) {
    if (state_ == state) {
        return;
    }
    state_ = state;
    Q_EMIT stateChanged(state_);
}

void DataSet::emitMove(bool moved) {
    if (moved) {
        Q_EMIT currentRowChanged(cursor_.current());
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
    emitMove(cursor_.first());
}

void DataSet::last() {
    requireActive();
    checkBrowseMode();
    emitMove(cursor_.last());
}

void DataSet::next() {
    requireActive();
    checkBrowseMode();
    emitMove(cursor_.next());
}

void DataSet::prior() {
    requireActive();
    checkBrowseMode();
    emitMove(cursor_.prior());
}

void DataSet::moveTo(int row) {
    requireActive();
    if (row == cursor_.current()) {
        return;
    }
    const int newRow = state_ == State::Insert ? cursor_.current() : -1;
    const bool dropsNewRow = newRow >= 0 && !modified_;
    checkBrowseMode();
    if (dropsNewRow && row > newRow) {
        --row;
    }
    emitMove(cursor_.moveTo(row));
}

bool DataSet::locate(const QString& fieldName, const QVariant& value) {
    requireActive();
    const int column = fieldByName(fieldName);
    for (int i = 0; i < cursor_.count(); ++i) {
        if (CompareValues(cursor_.row(i).values.at(column), value) == 0) {
            moveTo(i);
            return true;
        }
    }
    return false;
}

QVariant DataSet::value(int column) const {
    return valueAt(cursor_.current(), column);
}

QVariant DataSet::valueAt(int row, int column) const {
    if (row < 0 || row >= cursor_.count() || column < 0 || column >= fields_.count()) {
        return {};
    }
    return cursor_.row(row).values.at(column);
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
    fields_.requireWritable(column);
    if (state_ == State::Browse) {
        edit();
    }
    cursor_.currentRow().values[column] = value;
    modifiedColumns_[column] = true;
    modified_ = true;
    Q_EMIT rowChanged(cursor_.current());
}

void DataSet::startEditing(State state) {
    modifiedColumns_.fill(false);
    modified_ = false;
    setState(state);
}

void DataSet::finishEditing() {
    modifiedColumns_.fill(false);
    modified_ = false;
    setState(State::Browse);
}

void DataSet::edit() {
    requireUpdatable();
    if (state_ != State::Browse) {
        return;
    }
    // An empty set has no row to edit: editing it starts a new one.
    if (cursor_.isEmpty()) {
        insert();
        return;
    }
    savedRow_ = cursor_.currentRow();
    startEditing(State::Edit);
}

void DataSet::insert() {
    requireUpdatable();
    checkBrowseMode();
    const int at = cursor_.insertBlank(fields_.count());
    modifiedColumns_.fill(false);
    modified_ = false;
    Q_EMIT rowInserted(at);
    setState(State::Insert);
    Q_EMIT currentRowChanged(at);
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
    if (state_ != State::Edit && state_ != State::Insert) {
        return;
    }
    // A new row nobody typed into is dropped, never stored as a row of NULLs.
    if (state_ == State::Insert && !modified_) {
        cancel();
        return;
    }
    if (modified_) {
        writeCurrentRow();
    }
    finishEditing();
    Q_EMIT rowChanged(cursor_.current());
}

// A file that cannot take the row leaves it in editing with its values; the
// message says so, so that the user knows nothing was stored yet.
void DataSet::writeCurrentRow() {
    RowWriter writer(connection_->handle(), writeTable_, fields_);
    try {
        if (state_ == State::Insert) {
            writer.insert(cursor_.currentRow(), modifiedColumns_);
        } else {
            writer.update(cursor_.currentRow(), modifiedColumns_);
        }
    } catch (const DatabaseError& error) {
        if (!error.isFileFault()) {
            throw;
        }
        throw DatabaseError(error.message() + QStringLiteral("\r\rΗ εγγραφή δεν αποθηκεύτηκε: "
                                                             "ό,τι έγραψες μένει στο παράθυρο."),
                            error.kind());
    }
}

void DataSet::cancel() {
    if (state_ == State::Insert) {
        const int at = cursor_.current();
        cursor_.remove(at);
        modifiedColumns_.fill(false);
        modified_ = false;
        Q_EMIT rowRemoved(at);
        setState(State::Browse);
        Q_EMIT currentRowChanged(cursor_.current());
    } else if (state_ == State::Edit) {
        cursor_.currentRow() = savedRow_;
        finishEditing();
        Q_EMIT rowChanged(cursor_.current());
    }
}

void DataSet::deleteRecord() {
    requireUpdatable();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (cursor_.isEmpty()) {
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset."));
    }
    const int at = cursor_.current();
    RowWriter(connection_->handle(), writeTable_, fields_).remove(cursor_.row(at));
    cursor_.remove(at);
    Q_EMIT rowRemoved(at);
    Q_EMIT currentRowChanged(cursor_.current());
}

QString Table::selectSql() const {
    return QStringLiteral("SELECT * FROM %1").arg(QuoteIdentifier(table_));
}

}  // namespace store
