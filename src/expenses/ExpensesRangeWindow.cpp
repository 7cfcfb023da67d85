#include "expenses/ExpensesRangeWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <exception>

#include "core/AppGlobals.h"
#include "store/InputText.h"
#include "widgets/DBNavigator.h"
#include "widgets/DBText.h"
#include "widgets/DataSource.h"
#include "widgets/ErrorGuard.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

const QString kBadCriteria = QStringLiteral("Λανθασμένα κριτήρια.");

// The sums of the range; SUM leaves out the expenses without an amount, so
// SYNOLO sums only the expenses that have both, and an empty range gives
// NULL, shown as nothing.
const QString kSumsSql = QStringLiteral(
    "SELECT CENTS_TEXT(SUM(EKSODA.POSO)) AS AKSIA, CENTS_TEXT(SUM(EKSODA.VAT)) AS VAT, "
    "CENTS_TEXT(SUM(EKSODA.POSO + EKSODA.VAT)) AS SYNOLO FROM EKSODA "
    "WHERE EKSODA.HMEROMHNIA BETWEEN ? AND ?");

struct SumControl {
    const char* name;
    const char* field;
};
const SumControl kSums[] = {{"DBText1", "AKSIA"}, {"DBText2", "VAT"}, {"DBText3", "SYNOLO"}};

template <typename Control>
Control* FormControl(QWidget* window, const char* name) {
    auto* control = window->findChild<Control*>(QLatin1String(name));
    Q_ASSERT_X(control != nullptr, name, "missing from the window's form");
    return control;
}

void Reopen(store::Query& query, const QString& sql, const QVariantList& parameters) {
    query.close();
    query.setSql(sql);
    query.setParameters(parameters);
    query.open();
}

void CloseAndClear(store::Query& query) {
    query.close();
    query.setSql(QString());
    query.setParameters({});
}

}  // namespace

ExpensesRangeWindow::ExpensesRangeWindow(const ExpensesReport& report, const QString& rowsSql,
                                         const QString& sumsSql, QWidget* parent)
    : QDialog(parent),
      report_(report),
      rowsSql_(rowsSql),
      sumsSql_(sumsSql),
      DataSource1(new widgets::DataSource(this)),
      DataSource2(new widgets::DataSource(this)) {
    int number = 1;
    for (store::Query* query : {&ADOQuery1, &ADOQuery2, &ADOQuery3, &ADOQuery4}) {
        query->setObjectName(QStringLiteral("ADOQuery%1").arg(number++));
        query->setConnection(&ADOConnection1);
    }
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(&ADOQuery1);
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    DataSource2->setDataSet(&ADOQuery2);
    RvProject.setObjectName(QLatin1String(report.project));
    RvRowsConnection.setObjectName(QLatin1String(report.rowsConnection));
    RvRowsConnection.setDataSet(&ADOQuery3);
    RvSumsConnection.setObjectName(QLatin1String(report.sumsConnection));
    RvSumsConnection.setDataSet(&ADOQuery4);
    RvProject.addConnection(&RvRowsConnection);
    RvProject.addConnection(&RvSumsConnection);
}

ExpensesRangeWindow::~ExpensesRangeWindow() {
    ADOConnection1.close();
}

const QString& ExpensesRangeWindow::RangeSumsSql() {
    return kSumsSql;
}

void ExpensesRangeWindow::PrepareForm(std::initializer_list<widgets::GridColumn> columns) {
    widgets::ApplyWindowConventions(this, size());
    widgets::ApplyControlRoles(this);
    Edit1 = FormControl<QLineEdit>(this, "Edit1");
    Edit2 = FormControl<QLineEdit>(this, "Edit2");
    Button1 = FormControl<QPushButton>(this, "Button1");
    Button2 = FormControl<QPushButton>(this, "Button2");
    Button3 = FormControl<QPushButton>(this, "Button3");
    auto* grid = FormControl<widgets::DBGrid>(this, "DBGrid1");
    auto* navigator = FormControl<widgets::DBNavigator>(this, "DBNavigator1");

    grid->setDataSource(DataSource1);
    widgets::AddGridColumns(grid, columns);
    grid->setColumnsResizable(true);
    navigator->setVisibleButtons({widgets::NavigatorButton::First, widgets::NavigatorButton::Prior,
                                  widgets::NavigatorButton::Next, widgets::NavigatorButton::Last});
    navigator->setDataSource(DataSource1);
    for (const SumControl& control : kSums) {
        auto* sum = FormControl<widgets::DBText>(this, control.name);
        sum->setDataSource(DataSource2);
        sum->setDataField(QLatin1String(control.field));
    }
    connect(DataSource2, &widgets::DataSource::changed, this, &ExpensesRangeWindow::FitSumsToText);

    widgets::SetDefaultButton(Button1);
    Button3->setAutoDefault(false);
    Button3->setEnabled(false);
    widgets::UseAsExitButton(this, Button2);
    connect(Edit1, &QLineEdit::textChanged, this, &ExpensesRangeWindow::UpdateFindButton);
    connect(Edit2, &QLineEdit::textChanged, this, &ExpensesRangeWindow::UpdateFindButton);
    connect(Button1, &QPushButton::clicked, this, &ExpensesRangeWindow::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &ExpensesRangeWindow::Button3Click);
    widgets::SetTabChain({Edit1, Edit2, Button1, navigator, Button3, Button2});
    FormCreate();
}

// The connection is only given its text here; every search opens it.
void ExpensesRangeWindow::FormCreate() {
    ADOConnection1.setConnectionString(app().AppConnectionString);
    ADOConnection1.setCommandTimeout(0);
    ADOConnection1.setConnectionTimeout(0);
}

void ExpensesRangeWindow::UpdateFindButton() {
    Button1->setEnabled(IsCleanInputText(TrimInputText(Edit1->text())) &&
                        IsCleanInputText(TrimInputText(Edit2->text())));
}

// Printing is off from the press of Find until both statements of this
// search have opened, so that a search that fails at any step never leaves a
// range to print that nobody saw.
void ExpensesRangeWindow::Button1Click() {
    Button3->setEnabled(false);
    const QString fromText = TrimInputText(Edit1->text());
    const QString toText = TrimInputText(Edit2->text());
    if (!CriteriaValid(fromText, toText)) {
        RefuseCriteria();
        return;
    }
    // A connection that cannot be opened is no fault of the criteria: it is
    // reported as it is.
    widgets::RunReportingErrors(this, [&] { ReconnectAndSearch(fromText, toText); });
}

// Reconnecting makes the search see the current contents of EKSODA; it comes
// first, so that a connection that fails leaves the saved criteria as the
// last search left them.
void ExpensesRangeWindow::ReconnectAndSearch(const QString& fromText, const QString& toText) {
    ADOConnection1.close();
    ADOConnection1.open();
    SaveCriteria(fromText, toText);
    ADOQuery1.close();
    ADOQuery2.close();
    try {
        const QVariantList parameters = PrepareStatements(RangeParameters());
        ADOQuery1.setSql(rowsSql_);
        ADOQuery1.setParameters(parameters);
        ADOQuery2.setSql(sumsSql_);
        ADOQuery2.setParameters(parameters);
        ADOQuery1.open();
        ADOQuery2.open();
        ADOQuery1.first();
    } catch (const std::exception&) {
        RefuseCriteria();
        return;
    }
    Button3->setEnabled(true);
}

void ExpensesRangeWindow::RefuseCriteria() {
    Button3->setEnabled(false);
    widgets::ShowNotice(this, kBadCriteria);
}

// Printing has no handler of its own: what fails is shown as it is, and the
// report's queries stay open until the next print closes them.
void ExpensesRangeWindow::Button3Click() {
    widgets::RunReportingErrors(this, [this] { PrintSavedCriteria(); });
}

void ExpensesRangeWindow::PrintSavedCriteria() {
    ADOConnection1.open();
    const QVariantList parameters = PrepareStatements(RangeParameters());
    Reopen(ADOQuery3, rowsSql_, parameters);
    Reopen(ADOQuery4, sumsSql_, parameters);
    RvProject.setProjectFile(app().AppDirectory + QLatin1Char('/') +
                             QLatin1String(report_.projectFile));
    RvProject.setParameter(QStringLiteral("criteria"), CriteriaText());
    RvProject.Execute();
    CloseAndClear(ADOQuery3);
    CloseAndClear(ADOQuery4);
}

void ExpensesRangeWindow::FitSumsToText() {
    // Only the width follows the text: the height stays that of the label
    // beside it, so that both share one line.
    for (widgets::DBText* sum : findChildren<widgets::DBText*>()) {
        sum->resize(sum->sizeHint().width(), sum->height());
    }
}

void ExpensesRangeWindow::done(int result) {
    FormClose();
    QDialog::done(result);
}

// Emptying the boxes runs their change handlers, which enable Find.
void ExpensesRangeWindow::FormClose() {
    ADOConnection1.close();
    Edit1->clear();
    Edit2->clear();
    Button3->setEnabled(false);
}
