#pragma once

#include <QDialog>
#include <QList>
#include <initializer_list>

class QPushButton;

#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/DBGrid.h"

namespace widgets {

class DataSource;

// A window over the rows of one table: its own connection, the table (a
// static cursor over all rows), and a data source that binds the form's
// fields, navigator and grid to the current row. Every change reaches the
// database when a row is posted; closing the window closes the connection
// and so drops a row still being edited.
//
// A window derived from it lays out its .ui form, calls PrepareForm, then
// OpenTable from its FormCreate. The opener creates it, runs it modally and
// destroys it.
class RecordWindow : public QDialog {
    Q_OBJECT

public:
    RecordWindow(const QString& tableName, const QString& sortKey, QWidget* parent = nullptr);
    ~RecordWindow() override;

    void done(int result) override;

protected:
    // Right after the derived window's setupUi: the window's frame and
    // colours, the controls' roles, the exit button, the bindings.
    void PrepareForm(QPushButton* exitButton);
    // Binds every data-aware control of the form to DataSource1; fields,
    // memos and hidden texts take their column from the dynamic property
    // "dataField" that the form gives them.
    void BindControls();
    static void AddGridColumns(DBGrid* grid, std::initializer_list<GridColumn> columns);
    // The Tab chain in this order; a navigator stands for its buttons.
    void SetTabChain(const QList<QWidget*>& chain);

    // The opening pattern: the connection closed, given the application's
    // connection string with both time-outs 0 and opened; the table closed,
    // reopened and sorted, its first row current. A failure is shown in the
    // standard error box and leaves the window open without data; returns
    // whether the table opened.
    bool OpenTable();
    // Closing the connection closes the table and drops an unposted edit.
    void FormClose();

    store::Connection ADOConnection1;
    store::Table ADOTable1;
    DataSource* DataSource1;

private:
    QString sortKey_;
};

}  // namespace widgets
