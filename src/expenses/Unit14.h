#pragma once

#include <QDialog>

// Expenses search over a date range. One instance lives for the whole run,
// created right after the main window and hidden until the expenses menu
// shows it modally. For now it is the bare window frame.
class TForm14 : public QDialog {
    Q_OBJECT

public:
    explicit TForm14(QWidget* parent = nullptr);
};
