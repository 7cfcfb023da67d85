#pragma once

#include <QLabel>

#include "widgets/DataSource.h"
#include "widgets/FieldLink.h"

namespace widgets {

// A label that shows a column of the current row. Windows that only need to
// read a value (a note's number) hide it and read text().
class DBText : public QLabel {
    Q_OBJECT

public:
    explicit DBText(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& name);
    const QString& dataField() const { return link_.dataField(); }

private:
    void showFieldValue();

    FieldLink link_;
};

}  // namespace widgets
