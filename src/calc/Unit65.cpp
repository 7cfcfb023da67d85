#include "calc/Unit65.h"

#include <QCalendar>
#include <QLocale>

#include "core/AppGlobals.h"
#include "ui_Unit65.h"
#include "widgets/WindowStyle.h"

QDate OrthodoxEaster(int year) {
    // Gauss's rule in the Julian calendar: the Easter full moon falls d days
    // after 21 March, and Easter is the Sunday after it, 22 March + d + e.
    const int a = year % 19;
    const int b = year % 4;
    const int c = year % 7;
    const int d = (19 * a + 15) % 30;
    const int e = (2 * b + 4 * c + 6 * d + 6) % 7;
    const QDate julianMarch22(year, 3, 22, QCalendar(QCalendar::System::Julian));
    return julianMarch22.addDays(d + e);
}

QString EasterText(int year) {
    if (year < TForm65::kFirstEasterYear || year > TForm65::kLastEasterYear) {
        return QString();
    }
    const QDate easter = OrthodoxEaster(year);
    const QString month =
        easter.month() == 4 ? QStringLiteral(" Απριλίου") : QStringLiteral(" Μαϊου");
    return QStringLiteral("είναι ") + QString::number(easter.day()) + month;
}

QString DaySpanText(const QDate& from, const QDate& to) {
    if (from >= to) {
        return QString();
    }
    return QStringLiteral("Αριθμός ημερών=") + QString::number(from.daysTo(to));
}

namespace {

QString ShortDate(const QDate& date) {
    return QLocale().toString(date, QLocale::ShortFormat);
}

}  // namespace

TForm65::TForm65(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm65>()) {
    ui->setupUi(this);
    widgets::ApplyWindowConventions(this, size());
    widgets::ApplyControlRoles(this);
    ui->SpinEdit1->setRange(kFirstEasterYear, kLastEasterYear);
    // The pickers are squeezed so that only their drop-down button shows
    // beside the date field.
    for (QDateEdit* picker : {ui->DateTimePicker1, ui->DateTimePicker2}) {
        picker->calendarWidget()->setFirstDayOfWeek(Qt::Monday);
    }
    widgets::SetCancelButton(this, ui->Button1);

    // Typing changes the editor's text; the buttons and arrow keys change the
    // value, whose text the editor takes without a signal of its own.
    connect(ui->SpinEdit1->editor(), &QLineEdit::textChanged, this, &TForm65::SpinEdit1Change);
    connect(ui->SpinEdit1, &QSpinBox::textChanged, this, &TForm65::SpinEdit1Change);
    connect(ui->DateTimePicker1, &QDateEdit::dateChanged, this, &TForm65::DateTimePicker1Change);
    connect(ui->DateTimePicker2, &QDateEdit::dateChanged, this, &TForm65::DateTimePicker2Change);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm65::Button1Click);

    FormCreate();
}

TForm65::~TForm65() = default;

// Today beyond the pickers' range leaves them on their last day.
void TForm65::FormCreate() {
    const QDate today = LocalNow().date();
    ui->SpinEdit1->setValue(today.year());
    find_pasxa();
    ui->MonthCalendar1->setSelectedDate(today);
    ui->DateTimePicker1->setDate(today);
    ui->DateTimePicker2->setDate(today);
    ui->Edit1->setText(ShortDate(ui->DateTimePicker1->date()));
    ui->Edit2->setText(ShortDate(ui->DateTimePicker2->date()));
    ShowDaySpan();
}

void TForm65::SpinEdit1Change() {
    find_pasxa();
}

// While the user types, the year is the text as typed; a text that is not a
// whole number reads as the first year of the range.
int TForm65::YearAsTyped() const {
    bool whole = false;
    const int year = ui->SpinEdit1->editor()->text().toInt(&whole);
    return whole ? year : kFirstEasterYear;
}

void TForm65::find_pasxa() {
    ui->Label2->setText(EasterText(YearAsTyped()));
}

void TForm65::DateTimePicker1Change() {
    ui->Edit1->setText(ShortDate(ui->DateTimePicker1->date()));
    ShowDaySpan();
}

void TForm65::DateTimePicker2Change() {
    ui->Edit2->setText(ShortDate(ui->DateTimePicker2->date()));
    ShowDaySpan();
}

void TForm65::ShowDaySpan() {
    ui->Label7->setText(DaySpanText(ui->DateTimePicker1->date(), ui->DateTimePicker2->date()));
}

void TForm65::Button1Click() {
    close();
}
