#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

#include "store/FieldCatalog.h"
#include "store/RowCursor.h"
#include "store/Statement.h"

namespace store {

class Connection;

// Rows of a query or a whole table, held on the client side (a static
// cursor): once open, the set shows the rows as they were when it opened
// plus the changes made through it. A set that names the table it writes to
// is updatable and has the states Browse, Edit and Insert.
//
// Rules the record windows rely on: setting a field starts Edit (on an empty
// set, a new row); Post writes the row; moving to another row posts a
// changed row first and drops an untouched new row (so does Post); closing drops an
// unposted edit. A failed Post stores nothing and keeps the row and its typed
// values in Edit/Insert and raises the engine's message.
//
// A set and its connection may go in either order: a connection that goes
// first closes the set and leaves it without a connection.
class DataSet : public QObject {
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    explicit DataSet(QObject* parent = nullptr);
    ~DataSet() override;

    void setConnection(Connection* connection);
    Connection* connection() const { return connection_; }

    // Opens the connection too when it is closed; throws DatabaseError.
    void open();
    void close();
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isUpdatable() const { return !writeTable_.isEmpty(); }
    bool isModified() const { return modified_; }

    int recordCount() const { return cursor_.count(); }
    bool isEmpty() const { return cursor_.isEmpty(); }
    // The current row, 0 first; -1 on an empty or closed set.
    int recNo() const { return cursor_.current(); }
    bool bof() const { return cursor_.bof(); }
    bool eof() const { return cursor_.eof(); }

    void first();
    void prior();
    void next();
    void last();
    void moveTo(int row);
    // Makes the first row whose field equals value current; false if none.
    bool locate(const QString& fieldName, const QVariant& value);

    int fieldCount() const { return fields_.count(); }
    const FieldInfo& fieldInfo(int column) const { return fields_.at(column); }
    // -1 when the set has no such field; names compare without letter case.
    int fieldIndex(const QString& name) const { return fields_.indexOf(name); }
    // Like fieldIndex, but throws when the field does not exist.
    int fieldByName(const QString& name) const { return fields_.require(name); }

    QVariant value(int column) const;
    QVariant value(const QString& name) const { return value(fieldByName(name)); }
    QVariant valueAt(int row, int column) const;
    // NULL reads as empty text.
    QString asString(int column) const;
    QString asString(const QString& name) const { return asString(fieldByName(name)); }
    qint64 asInteger(int column) const;
    qint64 asInteger(const QString& name) const { return asInteger(fieldByName(name)); }

    void setValue(int column, const QVariant& value);
    void setValue(const QString& name, const QVariant& value) {
        setValue(fieldByName(name), value);
    }

    void edit();
    void insert();
    void post();
    void cancel();
    void deleteRecord();
    // Posts a changed row, drops an untouched new row or an unchanged edit.
    void checkBrowseMode();

    // "COLUMN ASC" or "COLUMN DESC", several joined by commas; text sorts as
    // a Greek reader expects, letters before accents and letter case.
    void setSort(const QString& sort);
    const QString& sort() const { return sort_; }

Q_SIGNALS:
    void stateChanged(store::DataSet::State state);
    void currentRowChanged(int row);
    void rowsReset();
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);

protected:
    virtual QString selectSql() const = 0;
    virtual QVariantList selectParameters() const { return {}; }
    // The table that Post and Delete write to; empty for a read-only set.
    virtual QString updateTableName() const = 0;

private:
    friend class Connection;
    // The connection is going away; the set is closed already.
    void forgetConnection() { connection_ = nullptr; }

    void load();
    void sortRows();
    void setState(State state);
    void emitMove(bool moved);
    void requireActive() const;
    void requireUpdatable() const;
    void startEditing(State state);
    void finishEditing();
    void writeCurrentRow();

    Connection* connection_ = nullptr;
    FieldCatalog fields_;
    RowCursor cursor_;
    Row savedRow_;
    QVector<bool> modifiedColumns_;
    // The table of the set as it was opened.
    QString writeTable_;
    QString sort_;
    State state_ = State::Inactive;
    bool modified_ = false;
};

// A data set over the rows of one SELECT statement with bound parameters.
// It is read-only unless told which table its rows come from: then it must
// read plain columns of that table alone, and only those columns can change.
class Query : public DataSet {
    Q_OBJECT

public:
    using DataSet::DataSet;
    void setSql(const QString& sql) { sql_ = sql; }
    const QString& sql() const { return sql_; }
    void setParameters(const QVariantList& parameters) { parameters_ = parameters; }
    // Takes effect at the next open.
    void setUpdateTable(const QString& table) { updateTable_ = table; }
    const QString& updateTable() const { return updateTable_; }

protected:
    QString selectSql() const override { return sql_; }
    QVariantList selectParameters() const override { return parameters_; }
    QString updateTableName() const override { return updateTable_; }

private:
    QString sql_;
    QVariantList parameters_;
    QString updateTable_;
};

// A data set over one whole table, edited through the record windows.
class Table : public DataSet {
    Q_OBJECT

public:
    using DataSet::DataSet;
    void setTableName(const QString& table) { table_ = table; }
    const QString& tableName() const { return table_; }

protected:
    QString selectSql() const override;
    QString updateTableName() const override { return table_; }

private:
    QString table_;
};

}  // namespace store
