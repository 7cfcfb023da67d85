#pragma once

#include <QDialog>

#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/DataSource.h"

class QLabel;
class QPushButton;

namespace widgets {
class DBMemo;
class DBNavigator;
}  // namespace widgets

// The day notes: one free text per day, bound to KEIMENO of the day's
// SHMEIWSEIS row. The opener sets the caption and opens the query.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    void done(int result) override;

    // The data objects come first so that they outlive nothing that uses them.
    store::Connection ADOConnection1;
    store::Query ADOQuery1;
    widgets::DataSource DataSource1;

    QLabel* Label83 = nullptr;
    widgets::DBMemo* DBMemo1 = nullptr;
    widgets::DBNavigator* DBNavigator1 = nullptr;
    QPushButton* Button29 = nullptr;

private:
    void Button29Click();
    void FormClose();
};
