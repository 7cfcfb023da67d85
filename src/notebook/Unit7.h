#pragma once

#include <QDialog>

// Notebook printing. One instance lives for the whole run, created right
// after the main window and hidden until the notebook shows it modally.
// For now it is the bare window frame; its buttons come with the notebook.
class TForm7 : public QDialog {
    Q_OBJECT

public:
    explicit TForm7(QWidget* parent = nullptr);
};
