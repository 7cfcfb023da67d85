#include "expenses/Unit15.h"

#include "widgets/WindowStyle.h"

TForm15::TForm15(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm15"));
    setWindowTitle(QStringLiteral("Έξοδα - Κατά μήνα"));
    widgets::ApplyWindowConventions(this, QSize(520, 551));
}
