#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/DataSource.h"

class QLabel;

namespace Ui {
class TForm2;
}

namespace widgets {
class DBEdit;
}  // namespace widgets

// The day task table: 28 half-hour slots from 08:00 to 22:00, bound to the
// day's RANTEBOU row, which the opener has made sure of (or found that it
// exists but cannot be written, and told the user so). From here the
// day's notes open.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kSlots = 28;

    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // Shows dayText as the caption and opens the task row of isoDate.
    void OpenDay(const QString& dayText, const QString& isoDate);

    void done(int result) override;

private:
    void BuildSlots();
    void Button1Click();
    void FormClose();
    // Ensures the day's notes row; false when the notes cannot open (the
    // user has been told why).
    bool PrepareNotes();

    // The data objects come first so that they outlive nothing that uses them.
    store::Connection ADOConnection1;
    store::Query ADOQuery1;
    widgets::DataSource DataSource1;
    store::Connection ADOConnection2;
    store::Command ADOCommand1{&ADOConnection2};
    QString isoDate_;

    std::unique_ptr<Ui::TForm2> ui;
    // Panel1..28 and DBEdit1..28, slot n at index n - 1.
    std::array<QLabel*, kSlots> Panels{};
    std::array<widgets::DBEdit*, kSlots> DBEdits{};
};
