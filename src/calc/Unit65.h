#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TForm65;
}

// The Orthodox Easter Sunday of a year, as a date of the Gregorian calendar.
// Computed in the Julian calendar, where the Orthodox churches reckon it, and
// converted with the calendar difference of that year's century, so that it
// is right for every year of the Gregorian calendar, not only for 1900..2099.
QDate OrthodoxEaster(int year);

// "είναι 5 Μαϊου" for a year of 1583..2100; empty outside that range.
QString EasterText(int year);

// "Αριθμός ημερών=" and the days from `from` to `to`; empty unless `from`
// comes before `to`.
QString DaySpanText(const QDate& from, const QDate& to);

// Calendar calculations: a month calendar to look dates up, the Easter date
// of a year and the number of days between two dates. Touches no data.
class TForm65 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kFirstEasterYear = 1583;
    static constexpr int kLastEasterYear = 2100;

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

    int YearAsTyped() const;

    std::unique_ptr<Ui::TForm65> ui;
};
