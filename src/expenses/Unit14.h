#pragma once

#include <memory>

#include "expenses/ExpensesRangeWindow.h"

namespace Ui {
class TForm14;
}

// Expenses search over a date range: one line per expense of the range,
// both ends included, the range's sums, and their printing through
// EKSODA1.RAV. One instance lives for the whole run, created right after the
// main window and shown modally by the expenses menu.
class TForm14 : public ExpensesRangeWindow {
    Q_OBJECT

public:
    explicit TForm14(QWidget* parent = nullptr);
    ~TForm14() override;

protected:
    void SaveCriteria(const QString& fromText, const QString& toText) override;
    bool CriteriaValid(const QString& fromText, const QString& toText) const override;
    QVariantList RangeParameters() const override;
    QString CriteriaText() const override;

private:
    std::unique_ptr<Ui::TForm14> ui;
    // The SQL date literals of the last Find, or "ERROR"; printing uses them.
    QString FromDateLiteral;
    QString ToDateLiteral;
};
