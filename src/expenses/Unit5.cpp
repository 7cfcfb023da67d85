#include "expenses/Unit5.h"

#include "app/Windows.h"
#include "expenses/Unit13.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "ui_Unit5.h"
#include "widgets/ErrorGuard.h"
#include "widgets/ModalLoop.h"
#include "widgets/WindowStyle.h"

TForm5::TForm5(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm5>()) {
    ui->setupUi(this);
    widgets::ApplyWindowConventions(this, size());
    widgets::UseAsExitButton(this, ui->Button4);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
}

TForm5::~TForm5() = default;

// A new register for every opening, owned by the application rather than
// the menu, destroyed as soon as it closes.
void TForm5::Button1Click() {
    widgets::RunReportingErrors(this, [this] {
        TForm13 form13;
        widgets::ShowModalOver(this, form13);
    });
}

// The search and the per-month windows live for the whole run; the menu
// only shows them.
void TForm5::Button2Click() {
    widgets::RunReportingErrors(this,
                                [this] { widgets::ShowModalOver(this, ExpensesSearchWindow()); });
}

void TForm5::Button3Click() {
    widgets::RunReportingErrors(this,
                                [this] { widgets::ShowModalOver(this, ExpensesByMonthWindow()); });
}
