#pragma once

#include <QDialog>
#include <memory>

#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/DataSource.h"

namespace Ui {
class TForm4;
}

// The day notes: one free text per day, bound to KEIMENO of the day's
// SHMEIWSEIS row, which the opener has made sure of.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    // Shows dayText as the caption and opens the notes row of isoDate.
    void OpenDay(const QString& dayText, const QString& isoDate);

    void done(int result) override;

private:
    void FormClose();

    // The data objects come first so that they outlive nothing that uses them.
    store::Connection ADOConnection1;
    store::Query ADOQuery1;
    widgets::DataSource DataSource1;

    std::unique_ptr<Ui::TForm4> ui;
};
