#include "calc/Unit65.h"

#include <QLocale>

#include "core/AppGlobals.h"
#include "ui_Unit65.h"
#include "widgets/WindowStyle.h"

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
    // The calendar hands its focus to the table of days inside it.
    ui->MonthCalendar1->focusProxy()->setAccessibleName(QStringLiteral("Ημερολόγιο"));
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

void TForm65::find_pasxa() {
    ui->Label2->setText(EasterText(EasterYearOfText(ui->SpinEdit1->editor()->text())));
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
