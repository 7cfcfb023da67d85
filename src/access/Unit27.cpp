#include "access/Unit27.h"

#include <QPushButton>

#include "store/Command.h"
#include "widgets/WindowStyle.h"

TForm27::TForm27(QWidget* parent)
    : PasswordForm(QStringLiteral("TForm27"), QStringLiteral("Αλλαγή του password εισόδου"),
                   QStringLiteral("Νέο Password:"), 189, parent) {
    Button2 = new QPushButton(QStringLiteral("Έξοδος"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(198, 158, 83, 25);
    Button2->setFocusPolicy(Qt::ClickFocus);
    Button2->setAutoDefault(false);
    widgets::SetCancelButton(this, Button2);
    connect(Button2, &QPushButton::clicked, this, &TForm27::Button2Click);
}

void TForm27::Button2Click() {
    close();
}

void TForm27::StorePasswordHash(store::Connection& connection, const QString& hash) {
    store::Execute(connection, QStringLiteral("update ADMINISTRATOR_ACCOUNT set PASSWORD = ?"),
                   {hash});
}
