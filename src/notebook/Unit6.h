#pragma once

#include <memory>

#include "widgets/RecordWindow.h"

namespace Ui {
class TForm6;
}

// The notebook: titled notes of free text in the table NOTES, listed by
// title. Its print button hands the current note's number to the single
// notebook-printing window and shows that window over it.
//
// The opener creates it, runs it modally and destroys it.
class TForm6 : public widgets::RecordWindow {
    Q_OBJECT

public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

private:
    void FormCreate();
    void DBNavigator1Click();
    void Button2Click();
    // The print button is enabled while the table holds a stored note.
    void UpdatePrintButton();

    std::unique_ptr<Ui::TForm6> ui;
};
