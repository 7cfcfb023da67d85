#pragma once

#include <QDialog>

// Expenses summed per month over a range of years. One instance lives for
// the whole run, created right after the main window and hidden until the
// expenses menu shows it modally. For now it is the bare window frame.
class TForm15 : public QDialog {
    Q_OBJECT

public:
    explicit TForm15(QWidget* parent = nullptr);
};
