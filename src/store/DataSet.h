#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

namespace store {

class Connection;

struct FieldInfo {
    enum class Kind { Text, Memo, Integer, Real, Date, Cents, Counter };
    QString name;          // the result column's name
    QString origin;        // the table column it comes from; empty for expressions
    QString declaredType;  // as the table declares it
    Kind kind = Kind::Memo;
    int size = 0;  // declared length of a short text; 0 when unlimited
    bool readOnly = false;
};

// Rows of a query or a whole table, held on the client side (a static
// cursor): once open, the set shows the rows as they were when it opened
// plus the changes made through it. A set over one table is updatable and
// has the states Browse, Edit and Insert.
//
// Rules the record windows rely on: setting a field starts Edit (on an empty
// set, a new row); Post writes the row; moving to another row posts a
// changed row first and drops an untouched new row (so does Post); closing drops an
// unposted edit. A failed Post keeps the row and its typed values in
// Edit/Insert and raises the engine's message.
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
    bool isUpdatable() const { return !updateTable_.isEmpty(); }
    bool isModified() const { return modified_; }

    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.isEmpty(); }
    // The current row, 0 first; -1 on an empty or closed set.
    int recNo() const { return current_; }
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }

    void first();
    void prior();
    void next();
    void last();
    void moveTo(int row);
    // Makes the first row whose field equals value current; false if none.
    bool locate(const QString& fieldName, const QVariant& value);

    int fieldCount() const { return int(fields_.size()); }
    const FieldInfo& fieldInfo(int column) const { return fields_.at(column); }
    // -1 when the set has no such field; names compare without letter case.
    int fieldIndex(const QString& name) const;
    // Like fieldIndex, but throws when the field does not exist.
    int fieldByName(const QString& name) const;

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
    // A table data set names its table.
    virtual QString declaredUpdateTable() const { return {}; }
    // A query is updatable when it reads plain columns of one table.
    virtual bool detectsUpdateTable() const { return false; }

private:
    struct Row {
        qint64 rowid = 0;
        QVector<QVariant> values;
    };

    void load();
    void describeFields(const class Statement& statement, int firstColumn);
    void applySort();
    void setState(State state);
    void setCurrent(int row);
    void requireActive() const;
    void requireUpdatable() const;
    void insertRow();
    void updateRow();
    void refreshRow(Row& row);
    QStringList tableColumnsOf(const QVector<int>& columns) const;

    Connection* connection_ = nullptr;
    QVector<FieldInfo> fields_;
    QVector<Row> rows_;
    Row savedRow_;
    QVector<bool> modifiedColumns_;
    QString updateTable_;
    QString sort_;
    State state_ = State::Inactive;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    bool modified_ = false;
};

// A data set over the rows of one SELECT statement with bound parameters.
class Query : public DataSet {
    Q_OBJECT

public:
    using DataSet::DataSet;
    void setSql(const QString& sql) { sql_ = sql; }
    const QString& sql() const { return sql_; }
    void setParameters(const QVariantList& parameters) { parameters_ = parameters; }
    // A query that must never write, whatever it reads.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

protected:
    QString selectSql() const override { return sql_; }
    QVariantList selectParameters() const override { return parameters_; }
    bool detectsUpdateTable() const override;

private:
    QString sql_;
    QVariantList parameters_;
    bool readOnly_ = false;
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
    QString declaredUpdateTable() const override { return table_; }

private:
    QString table_;
};

// Quotes an identifier for a statement ("0800-0830" needs it).
QString QuoteIdentifier(const QString& name);

}  // namespace store
