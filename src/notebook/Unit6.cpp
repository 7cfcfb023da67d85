#include "notebook/Unit6.h"

#include <QHeaderView>

#include "app/Windows.h"
#include "notebook/Unit7.h"
#include "ui_Unit6.h"
#include "widgets/ErrorGuard.h"

TForm6::TForm6(QWidget* parent)
    : widgets::RecordWindow(QStringLiteral("NOTES"), QStringLiteral("TITLOS ASC"), parent),
      ui(std::make_unique<Ui::TForm6>()) {
    ui->setupUi(this);
    PrepareForm(ui->Button1);
    ui->Button2->setAutoDefault(false);
    AddGridColumns(ui->DBGrid1, {{"TITLOS", "Τίτλος", 0, Qt::AlignLeft}});
    ui->DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    SetTabChain({ui->DBEdit1, ui->DBMemo1, ui->Button2, ui->DBNavigator1, ui->Button1});
    connect(ui->DBNavigator1, &widgets::DBNavigator::buttonClicked, this,
            &TForm6::DBNavigator1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    FormCreate();
}

TForm6::~TForm6() = default;

void TForm6::FormCreate() {
    OpenTable();
    UpdatePrintButton();
}

void TForm6::DBNavigator1Click() {
    UpdatePrintButton();
}

// A new note being typed is not a row of the table yet.
void TForm6::UpdatePrintButton() {
    const int pending = ADOTable1.state() == store::DataSet::State::Insert ? 1 : 0;
    ui->Button2->setEnabled(ADOTable1.recordCount() - pending != 0);
}

void TForm6::Button2Click() {
    widgets::RunReportingErrors(
        this, [this] { NotebookPrintingWindow().ShowForNote(ui->DBText1->text().trimmed()); });
}
