#include "access/Unit17.h"

#include <QKeyEvent>

#include "store/Command.h"

TForm17::TForm17(QWidget* parent)
    : PasswordForm(QStringLiteral("TForm17"), QStringLiteral("Καθορισμός του password εισόδου"),
                   QStringLiteral("Όρισε Password:"), 162, parent) {}

void TForm17::StorePasswordHash(store::Connection& connection, const QString& hash) {
    store::Execute(connection,
                   QStringLiteral("insert into ADMINISTRATOR_ACCOUNT (PASSWORD) values (?)"),
                   {hash});
}

void TForm17::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    PasswordForm::keyPressEvent(event);
}
