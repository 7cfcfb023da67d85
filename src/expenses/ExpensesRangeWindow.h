#pragma once

#include <QDialog>
#include <QVariantList>
#include <initializer_list>

#include "reports/RvDataSetConnection.h"
#include "reports/RvProject.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/DBGrid.h"

class QLineEdit;
class QPushButton;

namespace widgets {
class DataSource;
}

// What sets one expenses window's printing apart: the names of its report
// objects, by which the project file finds its rows, and the project file
// beside data.mdb.
struct ExpensesReport {
    const char* project;         // "RvProject3"
    const char* rowsConnection;  // "RvDataSetConnection3"
    const char* sumsConnection;  // "RvDataSetConnection4"
    const char* projectFile;     // "EKSODA1.RAV"
};

// The common shape of the expenses search and the expenses by month: two
// criteria boxes (Edit1, Edit2) and Find (Button1); a read-only grid
// (DBGrid1) over the rows of the range (ADOQuery1) with a four-button
// navigator (DBNavigator1); the three sums of the range under it (DBText1
// AKSIA, DBText2 VAT, DBText3 SYNOLO, from ADOQuery2); printing (Button3)
// of the criteria of the last search through ADOQuery3/ADOQuery4 and the
// report project; exit (Button2).
//
// A window derived from it lays out its .ui form, calls PrepareForm and
// supplies its criteria: it saves them as Find reads them from the boxes and
// turns the saved ones into the bound range of dates. Amounts reach the
// screen and the report as exact text made by the statements themselves.
// One instance lives for the whole run; closing it closes its connection,
// empties the boxes and disables printing, but keeps the saved criteria.
class ExpensesRangeWindow : public QDialog {
    Q_OBJECT

public:
    ExpensesRangeWindow(const ExpensesReport& report, const QString& rowsSql,
                        const QString& sumsSql, QWidget* parent);
    ~ExpensesRangeWindow() override;

    void done(int result) override;

protected:
    // After setupUi: finds the documented controls, binds them, adds the
    // grid's columns and wires the handlers.
    void PrepareForm(std::initializer_list<widgets::GridColumn> columns);

    // Find saves the criteria from the boxes, without blanks around them,
    // once the connection has opened again.
    virtual void SaveCriteria(const QString& fromText, const QString& toText) = 0;
    // A window that can judge the criteria in the boxes before the
    // connection is touched refuses them here; the rows and sums shown then
    // stay as they were, and so do the saved criteria.
    virtual bool CriteriaValid(const QString& /*fromText*/, const QString& /*toText*/) const {
        return true;
    }
    // The first and last day of the saved range as ISO dates, bound to the
    // statements. Throws store::DatabaseError for criteria that give no range.
    virtual QVariantList RangeParameters() const = 0;
    // The saved criteria as the printed report states them, so that a page
    // says which period it covers.
    virtual QString CriteriaText() const = 0;
    // Runs, on the open connection, what the rows and sums statements read
    // besides EKSODA, and gives the values they bind: by default nothing
    // runs and they bind the range itself.
    virtual QVariantList PrepareStatements(const QVariantList& range) { return range; }

    // The three sums of the range straight from EKSODA.
    static const QString& RangeSumsSql();

    store::Connection ADOConnection1;
    store::Query ADOQuery1;
    store::Query ADOQuery2;
    store::Query ADOQuery3;
    store::Query ADOQuery4;

private:
    void FormCreate();
    void UpdateFindButton();
    void Button1Click();
    void Button3Click();
    void FormClose();

    void ReconnectAndSearch(const QString& fromText, const QString& toText);
    void RefuseCriteria();
    void PrintSavedCriteria();
    void FitSumsToText();

    const ExpensesReport report_;
    const QString rowsSql_;
    const QString sumsSql_;
    widgets::DataSource* DataSource1;
    widgets::DataSource* DataSource2;
    reports::RvProject RvProject;
    reports::RvDataSetConnection RvRowsConnection;
    reports::RvDataSetConnection RvSumsConnection;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
};
