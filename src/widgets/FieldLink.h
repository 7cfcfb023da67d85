#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

#include "store/DataSet.h"
#include "widgets/DataSource.h"

namespace widgets {

// What a control bound to one column shares with the others: it follows the
// source's current row and tells its control when to show it again.
class FieldLink {
public:
    explicit FieldLink(std::function<void()> refresh);
    ~FieldLink();
    FieldLink(const FieldLink&) = delete;
    FieldLink& operator=(const FieldLink&) = delete;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setDataField(const QString& name);
    const QString& dataField() const { return name_; }

    store::DataSet* dataSet() const;
    // The bound column of the open set; nullptr when there is none.
    const store::FieldInfo* field() const;
    // The column's value in the current row; NULL when there is no row.
    QVariant value() const;
    // Typing may change the column: the set is open and updatable and the
    // column is a plain column of its table.
    bool canModify() const;
    // Sets the column in the current row (starting Edit, or a new row on an
    // empty set); throws store::DatabaseError.
    void write(const QVariant& value);

private:
    std::function<void()> refresh_;
    QPointer<DataSource> source_;
    QString name_;
    QMetaObject::Connection changed_;
};

}  // namespace widgets
