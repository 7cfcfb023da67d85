#pragma once

#include <memory>

#include "expenses/ExpensesRangeWindow.h"

namespace Ui {
class TForm15;
}

// Expenses summed per month over a range of years: one line per month that
// holds an expense, the range's sums, and their printing through
// EKSODA2.RAV. One instance lives for the whole run, created right after the
// main window and shown modally by the expenses menu.
class TForm15 : public ExpensesRangeWindow {
    Q_OBJECT

public:
    explicit TForm15(QWidget* parent = nullptr);
    ~TForm15() override;

protected:
    void SaveCriteria(const QString& fromText, const QString& toText) override;
    QVariantList RangeParameters() const override;
    QString CriteriaText() const override;
    QVariantList PrepareStatements(const QVariantList& range) override;

private:
    std::unique_ptr<Ui::TForm15> ui;
    // The years as typed at the last Find; printing uses them.
    QString FromYearText;
    QString ToYearText;
};
