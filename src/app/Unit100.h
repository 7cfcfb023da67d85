#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QTimer;

// The splash window: the product picture, borderless and on top, shown
// during start-up until its timer closes it.
class TForm100 : public QDialog {
    Q_OBJECT

public:
    explicit TForm100(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QLabel* Image1;
    // Disabled when the window is created; start-up enables it just before
    // showing the window.
    QTimer* Timer1;

    void Timer1Timer();

protected:
    // Nothing but the timer closes the splash.
    void keyPressEvent(QKeyEvent* event) override;
};
