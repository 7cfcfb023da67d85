#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QCalendarWidget;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

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

    void find_pasxa();
    void ShowDaySpan();

private:
    void FormCreate();
    void SpinEdit1Change();
    void DateTimePicker1Change();
    void DateTimePicker2Change();
    void Button1Click();

    void BuildCalendarArea();
    void BuildEasterRow();
    void BuildDaySpanRow();
    QDateEdit* MakeDatePicker(const QString& name, int x, int y);
    int YearAsTyped() const;

    QCalendarWidget* MonthCalendar1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QLineEdit* yearEditor_ = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QDateEdit* DateTimePicker2 = nullptr;
    QLabel* Label7 = nullptr;
    QPushButton* Button1 = nullptr;
};
