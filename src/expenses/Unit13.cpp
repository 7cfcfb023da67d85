#include "expenses/Unit13.h"

#include <QHeaderView>

#include "ui_Unit13.h"

TForm13::TForm13(QWidget* parent)
    : widgets::RecordWindow(QStringLiteral("EKSODA"), QStringLiteral("HMEROMHNIA DESC"), parent),
      ui(std::make_unique<Ui::TForm13>()) {
    ui->setupUi(this);
    PrepareForm(ui->Button1);
    AddGridColumns(ui->DBGrid1, {
                                    {"PERIGRAFH", "Περιγραφή", 0, Qt::AlignLeft},
                                    {"HMEROMHNIA", "Ημερομηνία", 95, Qt::AlignHCenter},
                                    {"POSO", "Ποσό (EUR)", 81, Qt::AlignRight},
                                    {"VAT", "Φ.Π.Α (EUR)", 81, Qt::AlignLeft},
                                });
    // The description takes the width the other columns leave: at a default
    // width its title and texts would be cut to a few letters.
    ui->DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    // The fields top to bottom, then Έξοδος, then the navigator.
    SetTabChain(
        {ui->DBEdit1, ui->DBEdit2, ui->DBEdit3, ui->DBEdit4, ui->Button1, ui->DBNavigator1});
    FormCreate();
}

TForm13::~TForm13() = default;

// A database that cannot be opened is reported, and the window opens
// without data; Έξοδος still closes it.
void TForm13::FormCreate() {
    OpenTable();
}
