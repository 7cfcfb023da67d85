#include "calc/Unit65.h"

#include <QCalendar>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

#include "core/AppGlobals.h"
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

const QColor kResultRed(255, 0, 0);
const QDate kFirstPickerDate(1940, 1, 1);
const QDate kLastPickerDate(2050, 1, 1);
const QString kPickerTip = QStringLiteral("Επέλεξε ή δώσε ημερομηνία");

// A year field that lets the user type freely (digits, signs, the decimal
// separator) and only brings the year into range when the field is left.
class YearSpinBox : public QSpinBox {
public:
    explicit YearSpinBox(QWidget* parent) : QSpinBox(parent) {}

    QLineEdit* editor() const { return lineEdit(); }

protected:
    QValidator::State validate(QString& input, int& /*pos*/) const override {
        const QString separator = locale().decimalPoint();
        for (const QChar ch : input) {
            if (!ch.isDigit() && ch != u'+' && ch != u'-' && QString(ch) != separator) {
                return QValidator::Invalid;
            }
        }
        bool whole = false;
        const int year = input.toInt(&whole);
        return whole && year >= minimum() && year <= maximum() ? QValidator::Acceptable
                                                               : QValidator::Intermediate;
    }

    void fixup(QString& input) const override {
        bool whole = false;
        const int year = input.toInt(&whole);
        input = QString::number(whole ? qBound(minimum(), year, maximum()) : minimum());
    }
};

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                  const QColor& colour = Qt::black) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(widgets::TahomaPoints(8));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QLineEdit* MakeDateField(QWidget* parent, const QString& name, QRect geometry) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(geometry);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setFont(widgets::TahomaPoints(8));
    return field;
}

QString ShortDate(const QDate& date) {
    return QLocale().toString(date, QLocale::ShortFormat);
}

}  // namespace

TForm65::TForm65(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm65"));
    setWindowTitle(QStringLiteral("Ημερολογιακά"));
    widgets::ApplyWindowConventions(this, QSize(632, 696));
    BuildCalendarArea();
    BuildEasterRow();
    BuildDaySpanRow();

    Button1 = new QPushButton(QStringLiteral("Έξοδος"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral("Έξοδος"));
    Button1->setGeometry(549, 663, 75, 25);
    Button1->setAutoDefault(false);
    widgets::SetCancelButton(this, Button1);
    connect(Button1, &QPushButton::clicked, this, &TForm65::Button1Click);

    FormCreate();
}

void TForm65::BuildCalendarArea() {
    MonthCalendar1 = new QCalendarWidget(this);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    MonthCalendar1->setGeometry(7, 6, 617, 585);
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    MonthCalendar1->setFirstDayOfWeek(Qt::Monday);

    Label5 =
        MakeLabel(this, QStringLiteral("Label5"),
                  QStringLiteral("Για αλλαγή κάνε click στο μήνα ή έτος"), QRect(7, 594, 617, 16));
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setAutoFillBackground(true);
    QPalette palette = Label5->palette();
    palette.setColor(QPalette::Window, Qt::white);
    Label5->setPalette(palette);
}

void TForm65::BuildEasterRow() {
    Label1 = MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("Το Πάσχα για το έτος:"),
                       QRect(8, 620, 130, 21), kResultRed);
    auto* year = new YearSpinBox(this);
    SpinEdit1 = year;
    yearEditor_ = year->editor();
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setGeometry(140, 618, 57, 22);
    SpinEdit1->setFont(widgets::TahomaPoints(8));
    SpinEdit1->setToolTip(QStringLiteral("Έτος"));
    SpinEdit1->setRange(kFirstEasterYear, kLastEasterYear);
    SpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    // Typing changes the editor's text; the buttons and arrow keys change the
    // value, whose text the editor takes without a signal of its own.
    connect(yearEditor_, &QLineEdit::textChanged, this, &TForm65::SpinEdit1Change);
    connect(SpinEdit1, &QSpinBox::textChanged, this, &TForm65::SpinEdit1Change);
    Label2 =
        MakeLabel(this, QStringLiteral("Label2"), QString(), QRect(204, 620, 200, 21), kResultRed);
}

void TForm65::BuildDaySpanRow() {
    Label3 =
        MakeLabel(this, QStringLiteral("Label3"),
                  QStringLiteral("Αριθμός ημερών μεταξύ δύο ημερομηνιών"), QRect(8, 646, 300, 16));
    Label4 = MakeLabel(this, QStringLiteral("Label4"), QStringLiteral("Από:"),
                       QRect(8, 667, 30, 21), kResultRed);
    Edit1 = MakeDateField(this, QStringLiteral("Edit1"), QRect(38, 666, 91, 22));
    DateTimePicker1 = MakeDatePicker(QStringLiteral("DateTimePicker1"), 129, 666);
    Label6 = MakeLabel(this, QStringLiteral("Label6"), QStringLiteral("Μέχρι:"),
                       QRect(158, 667, 42, 21), kResultRed);
    Edit2 = MakeDateField(this, QStringLiteral("Edit2"), QRect(200, 666, 91, 22));
    DateTimePicker2 = MakeDatePicker(QStringLiteral("DateTimePicker2"), 291, 666);
    Label7 =
        MakeLabel(this, QStringLiteral("Label7"), QString(), QRect(318, 667, 220, 21), kResultRed);
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TForm65::DateTimePicker1Change);
    connect(DateTimePicker2, &QDateEdit::dateChanged, this, &TForm65::DateTimePicker2Change);
}

// Squeezed so that only the drop-down button shows beside its text field.
QDateEdit* TForm65::MakeDatePicker(const QString& name, int x, int y) {
    auto* picker = new QDateEdit(this);
    picker->setObjectName(name);
    picker->setGeometry(x, y, 18, 22);
    picker->setCalendarPopup(true);
    picker->setDateRange(kFirstPickerDate, kLastPickerDate);
    picker->setToolTip(kPickerTip);
    picker->setFont(widgets::TahomaPoints(8));
    picker->calendarWidget()->setFirstDayOfWeek(Qt::Monday);
    return picker;
}

// Today beyond the pickers' range leaves them on their last day.
void TForm65::FormCreate() {
    const QDate today = LocalNow().date();
    SpinEdit1->setValue(today.year());
    find_pasxa();
    MonthCalendar1->setSelectedDate(today);
    DateTimePicker1->setDate(today);
    DateTimePicker2->setDate(today);
    Edit1->setText(ShortDate(DateTimePicker1->date()));
    Edit2->setText(ShortDate(DateTimePicker2->date()));
    ShowDaySpan();
}

void TForm65::SpinEdit1Change() {
    find_pasxa();
}

// While the user types, the year is the text as typed; a text that is not a
// whole number reads as the first year of the range.
int TForm65::YearAsTyped() const {
    bool whole = false;
    const int year = yearEditor_->text().toInt(&whole);
    return whole ? year : kFirstEasterYear;
}

void TForm65::find_pasxa() {
    Label2->setText(EasterText(YearAsTyped()));
}

void TForm65::DateTimePicker1Change() {
    Edit1->setText(ShortDate(DateTimePicker1->date()));
    ShowDaySpan();
}

void TForm65::DateTimePicker2Change() {
    Edit2->setText(ShortDate(DateTimePicker2->date()));
    ShowDaySpan();
}

void TForm65::ShowDaySpan() {
    Label7->setText(DaySpanText(DateTimePicker1->date(), DateTimePicker2->date()));
}

void TForm65::Button1Click() {
    close();
}
