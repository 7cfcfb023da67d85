#include "access/Unit27.h"

#include "store/Command.h"
#include "ui_Unit27.h"
#include "widgets/WindowStyle.h"

// The shared password form, and below it the way out.
TForm27::TForm27(QWidget* parent)
    : PasswordForm(QStringLiteral("TForm27"), QStringLiteral("Αλλαγή του password εισόδου"),
                   QStringLiteral("Νέο Password:"), 189, parent),
      ui(std::make_unique<Ui::TForm27>()) {
    ui->setupUi(this);
    widgets::SetCancelButton(this, ui->Button2);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm27::Button2Click);
}

TForm27::~TForm27() = default;

void TForm27::Button2Click() {
    close();
}

void TForm27::StorePasswordHash(store::Connection& connection, const QString& hash) {
    store::Execute(connection, QStringLiteral("update ADMINISTRATOR_ACCOUNT set PASSWORD = ?"),
                   {hash});
}
