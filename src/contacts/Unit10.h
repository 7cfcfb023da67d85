#pragma once

#include <memory>

#include "widgets/RecordWindow.h"

namespace Ui {
class TForm10;
}

// The contact list: edit fields for the current contact, a record navigator
// and a grid of all contacts ordered by name, all bound to the table
// XRHSIMA_THLEFWNA through the window's own connection.
//
// The opener creates it, runs exec() and destroys it:
//     TForm10 contacts(this);
//     contacts.exec();
class TForm10 : public widgets::RecordWindow {
    Q_OBJECT

public:
    explicit TForm10(QWidget* parent = nullptr);
    ~TForm10() override;

private:
    void FormCreate();

    std::unique_ptr<Ui::TForm10> ui;
};
