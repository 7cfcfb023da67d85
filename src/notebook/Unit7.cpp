#include "notebook/Unit7.h"

#include "widgets/WindowStyle.h"

TForm7::TForm7(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Εκτύπωση"));
    widgets::ApplyWindowConventions(this, QSize(185, 117));
}
