#pragma once

#include <QDialog>
#include <memory>

class ProgramTimer;

namespace Ui {
class TForm100;
}

// The splash window: the product picture, borderless and on top, shown
// during start-up until its timer closes it.
class TForm100 : public QDialog {
    Q_OBJECT

public:
    explicit TForm100(QWidget* parent = nullptr);
    ~TForm100() override;

    // Disabled when the window is created; start-up enables it just before
    // showing the window. Its time is the program's clock, which tests own.
    ProgramTimer* Timer1;

    void Timer1Timer();

protected:
    // Nothing but the timer closes the splash.
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TForm100> ui;
};
