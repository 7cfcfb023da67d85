#pragma once

#include <QDialog>
#include <memory>

#include "store/Connection.h"

class QLabel;
class QPushButton;

namespace store {
class Table;
}
namespace widgets {
class DataSource;
class DBEdit;
class DBGrid;
class DBNavigator;
}  // namespace widgets

// The contact list: edit fields for the current contact, a record navigator
// and a grid of all contacts ordered by name, all bound to the table
// XRHSIMA_THLEFWNA through the window's own connection. Every change goes to
// the database when a row is posted; closing drops a row still being edited.
//
// The opener creates it, runs exec() and destroys it:
//     TForm10 contacts(this);
//     contacts.exec();
class TForm10 : public QDialog {
    Q_OBJECT

public:
    explicit TForm10(QWidget* parent = nullptr);
    ~TForm10() override;

    void done(int result) override;

private:
    void FormCreate();
    void FormClose();
    void Button1Click();

    void BuildFields();
    void BuildNavigator();
    void BuildGrid();
    void SetTabOrder();

    // Declared before the table, so that the table goes first.
    store::Connection ADOConnection1;
    std::unique_ptr<store::Table> ADOTable1;
    widgets::DataSource* DataSource1 = nullptr;
    QList<QLabel*> captions_;
    QList<widgets::DBEdit*> fields_;
    widgets::DBNavigator* DBNavigator1 = nullptr;
    widgets::DBGrid* DBGrid1 = nullptr;
    QPushButton* Button1 = nullptr;
};
