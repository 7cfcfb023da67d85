#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <memory>

#include "calc/EasterYear.h"

namespace Ui {
class TForm65;
}

// "Αριθμός ημερών=" and the days from `from` to `to`; empty unless `from`
// comes before `to`.
QString DaySpanText(const QDate& from, const QDate& to);

// Calendar calculations: a month calendar to look dates up, the Easter date
// of a year and the number of days between two dates. Touches no data.
class TForm65 : public QDialog {
    Q_OBJECT

public:
    explicit TForm65(QWidget* parent = nullptr);
    ~TForm65() override;

    void find_pasxa();
    void ShowDaySpan();

private:
    void FormCreate();
    void SpinEdit1Change();
    void DateTimePicker1Change();
    void DateTimePicker2Change();
    void Button1Click();

    std::unique_ptr<Ui::TForm65> ui;
};
