#pragma once

#include <memory>

#include "widgets/RecordWindow.h"

namespace Ui {
class TForm13;
}

// The expenses register: edit fields for the current expense (date, amount,
// VAT, description), a record navigator and a grid of all expenses, newest
// first, bound to the table EKSODA through the window's own connection. The
// only window that writes expenses.
//
// The expenses menu creates one for every opening, runs it modally and
// destroys it.
class TForm13 : public widgets::RecordWindow {
    Q_OBJECT

public:
    explicit TForm13(QWidget* parent = nullptr);
    ~TForm13() override;

private:
    void FormCreate();

    std::unique_ptr<Ui::TForm13> ui;
};
