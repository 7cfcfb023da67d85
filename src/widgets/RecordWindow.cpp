#include "widgets/RecordWindow.h"

#include "core/AppGlobals.h"
#include "store/DatabaseError.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBMemo.h"
#include "widgets/DBNavigator.h"
#include "widgets/DBText.h"
#include "widgets/DataSource.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace widgets {
namespace {

template <typename Control>
void BindFields(QWidget* window, DataSource* source) {
    for (Control* control : window->findChildren<Control*>()) {
        control->setDataSource(source);
        control->setDataField(control->property("dataField").toString());
    }
}

}  // namespace

RecordWindow::RecordWindow(const QString& tableName, const QString& sortKey, QWidget* parent)
    : QDialog(parent), DataSource1(new DataSource(this)), sortKey_(sortKey) {
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    ADOTable1.setObjectName(QStringLiteral("ADOTable1"));
    ADOTable1.setTableName(tableName);
    ADOTable1.setConnection(&ADOConnection1);
    DataSource1->setDataSet(&ADOTable1);
}

RecordWindow::~RecordWindow() {
    FormClose();
}

void RecordWindow::PrepareForm(QPushButton* exitButton) {
    ApplyWindowConventions(this, size());
    ApplyControlRoles(this);
    UseAsExitButton(this, exitButton);
    BindControls();
}

void RecordWindow::BindControls() {
    BindFields<DBEdit>(this, DataSource1);
    BindFields<DBMemo>(this, DataSource1);
    BindFields<DBText>(this, DataSource1);
    for (DBNavigator* navigator : findChildren<DBNavigator*>()) {
        navigator->setDataSource(DataSource1);
    }
    for (DBGrid* grid : findChildren<DBGrid*>()) {
        grid->setDataSource(DataSource1);
    }
}

void RecordWindow::AddGridColumns(DBGrid* grid, std::initializer_list<GridColumn> columns) {
    widgets::AddGridColumns(grid, columns);
}

void RecordWindow::SetTabChain(const QList<QWidget*>& chain) {
    widgets::SetTabChain(chain);
}

bool RecordWindow::OpenTable() {
    try {
        ADOConnection1.setShareDenyNone(true);
        ADOConnection1.reopen(app().AppConnectionString);
        ADOTable1.close();
        ADOTable1.open();
        ADOTable1.setSort(sortKey_);
        ADOTable1.first();
        return true;
    } catch (const store::DatabaseError& error) {
        ShowStandardError(this, error.message());
        return false;
    }
}

void RecordWindow::done(int result) {
    FormClose();
    QDialog::done(result);
}

void RecordWindow::FormClose() {
    ADOConnection1.close();
}

}  // namespace widgets
