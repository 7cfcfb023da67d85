#include "contacts/Unit10.h"

#include "ui_Unit10.h"

TForm10::TForm10(QWidget* parent)
    : widgets::RecordWindow(QStringLiteral("XRHSIMA_THLEFWNA"), QStringLiteral("ONOMATEPWNYMO ASC"),
                            parent),
      ui(std::make_unique<Ui::TForm10>()) {
    ui->setupUi(this);
    PrepareForm(ui->Button1);
    AddGridColumns(ui->DBGrid1, {
                                    {"ONOMATEPWNYMO", "Ονοματεπώνυμο", 170, Qt::AlignLeft},
                                    {"DIEYTHYNSH", "Διεύθυνση", 190, Qt::AlignLeft},
                                    {"THLEFWNO_1", "Τηλέφωνο 1", 85, Qt::AlignHCenter},
                                    {"THLEFWNO_2", "Τηλέφωνο 2", 85, Qt::AlignHCenter},
                                    {"FAX", "Fax", 85, Qt::AlignHCenter},
                                    {"EMAIL", "Email", 160, Qt::AlignLeft},
                                    {"PERIGRAFH", "Περιγραφή", 170, Qt::AlignLeft},
                                });
    ui->DBGrid1->setColumnsResizable(true);
    // The fields top to bottom, then Έξοδος, then the navigator.
    SetTabChain({ui->DBEdit1, ui->DBEdit2, ui->DBEdit3, ui->DBEdit4, ui->DBEdit5, ui->DBEdit6,
                 ui->DBEdit7, ui->Button1, ui->DBNavigator1});
    FormCreate();
}

TForm10::~TForm10() = default;

// A database that cannot be opened is reported, and the window opens
// without data; Έξοδος still closes it.
void TForm10::FormCreate() {
    OpenTable();
}
