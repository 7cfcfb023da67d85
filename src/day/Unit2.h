#pragma once

#include <QDialog>
#include <array>

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/DataSource.h"

class QLabel;
class QPushButton;
class QScrollArea;
class TForm4;

namespace widgets {
class DBEdit;
class DBNavigator;
}  // namespace widgets

// The day task table: 28 half-hour slots from 08:00 to 22:00, bound to the
// day's RANTEBOU row. The opener sets the caption and opens the query; from
// here the day's notes open.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kSlots = 28;

    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    void done(int result) override;

    // The data objects come first so that they outlive nothing that uses them.
    store::Connection ADOConnection1;
    store::Query ADOQuery1;
    widgets::DataSource DataSource1;
    store::Connection ADOConnection2;
    store::Command ADOCommand1{&ADOConnection2};

    QLabel* Label83 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    // Panel1..28 and DBEdit1..28, slot n at index n - 1.
    std::array<QLabel*, kSlots> Panels{};
    std::array<widgets::DBEdit*, kSlots> DBEdits{};
    widgets::DBNavigator* DBNavigator1 = nullptr;
    QPushButton* Button29 = nullptr;
    QPushButton* Button1 = nullptr;

private:
    void BuildSlots();
    void Button1Click();
    void Button29Click();
    void FormClose();
    // Ensures the day's notes row and opens the notes window on it.
    void PrepareNotes(TForm4& notes);
};
