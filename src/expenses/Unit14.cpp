#include "expenses/Unit14.h"

#include "widgets/WindowStyle.h"

TForm14::TForm14(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(QStringLiteral("Έξοδα - Αναλυτική έρευνα"));
    widgets::ApplyWindowConventions(this, QSize(873, 536));
}
