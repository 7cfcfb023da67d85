// The calendar-calculations window: the Easter date of a year, the year
// field's typing rules and the day span between two dates.
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "TestSupport.h"
#include "calc/Unit65.h"
#include "core/AppGlobals.h"

namespace {

// Julian day number of a date of the Julian calendar (Meeus).
long JulianDayOfJulianDate(int year, int month, int day) {
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    return static_cast<long>(365.25 * (year + 4716)) + static_cast<long>(30.6001 * (month + 1)) +
           day - 1524;
}

// Gregorian date of a Julian day number (Fliegel and Van Flandern).
QDate GregorianOfJulianDay(long jd) {
    long l = jd + 68569;
    const long n = 4 * l / 146097;
    l = l - (146097 * n + 3) / 4;
    const long i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const long j = 80 * l / 2447;
    const int day = static_cast<int>(l - 2447 * j / 80);
    l = j / 11;
    const int month = static_cast<int>(j + 2 - 12 * l);
    const int year = static_cast<int>(100 * (n - 49) + i + l);
    return QDate(year, month, day);
}

// Orthodox Easter by Meeus's Julian algorithm, carried into the Gregorian
// calendar through the Julian day number: no shared code with the program.
QDate IndependentOrthodoxEaster(int year) {
    const int a = year % 4;
    const int b = year % 7;
    const int c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int e = (2 * a + 4 * b - d + 34) % 7;
    const int month = (d + e + 114) / 31;
    const int day = (d + e + 114) % 31 + 1;
    return GregorianOfJulianDay(JulianDayOfJulianDate(year, month, day));
}

QString ExpectedText(const QDate& easter) {
    const QString month =
        easter.month() == 4 ? QStringLiteral("Απριλίου") : QStringLiteral("Μαϊου");
    return QStringLiteral("είναι %1 %2").arg(easter.day()).arg(month);
}

// The fixed-shift rule the window has always used for 1900..2099.
QString FixedShiftText(int year) {
    const int a = year % 19;
    const int b = year % 4;
    const int c = year % 7;
    const int d = (19 * a + 16) % 30;
    const int e = (2 * b + 4 * c + 6 * d) % 7;
    const int n = 3 + d + e;
    return n <= 30 ? QStringLiteral("είναι %1 Απριλίου").arg(n)
                   : QStringLiteral("είναι %1 Μαϊου").arg(n - 30);
}

}  // namespace

class TestCalc : public QObject {
    Q_OBJECT

private:
    TForm65* form_ = nullptr;

    template <typename T>
    T* Control(const QString& name) {
        return testsupport::FindControl<T>(form_, name);
    }
    QSpinBox* Year() { return Control<QSpinBox>("SpinEdit1"); }
    QLineEdit* YearEditor() { return Year()->findChild<QLineEdit*>(); }
    QString EasterShown() { return Control<QLabel>("Label2")->text(); }
    QString SpanShown() { return Control<QLabel>("Label7")->text(); }

    void TypeYear(const QString& text) {
        QLineEdit* editor = YearEditor();
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        testsupport::TypeText(editor, text);
    }

private slots:
    void init() {
        testsupport::ResetTestHooks();
        SetLocalNowForTests(QDateTime(QDate(2024, 3, 5), QTime(10, 30)));
        form_ = new TForm65;
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_));
        Year()->setFocus();
    }

    void cleanup() {
        delete form_;
        form_ = nullptr;
        testsupport::ResetTestHooks();
    }

    void opensOnToday() {
        QCOMPARE(Year()->value(), 2024);
        QCOMPARE(EasterShown(), QStringLiteral("είναι 5 Μαϊου"));
        QCOMPARE(Control<QCalendarWidget>("MonthCalendar1")->selectedDate(), QDate(2024, 3, 5));
        QCOMPARE(Control<QDateEdit>("DateTimePicker1")->date(), QDate(2024, 3, 5));
        QCOMPARE(Control<QDateEdit>("DateTimePicker2")->date(), QDate(2024, 3, 5));
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), QStringLiteral("5/3/24"));
        QCOMPARE(Control<QLineEdit>("Edit2")->text(), QStringLiteral("5/3/24"));
        QVERIFY(SpanShown().isEmpty());
    }

    void windowAndFixedTexts() {
        QCOMPARE(form_->windowTitle(), QStringLiteral("Ημερολογιακά"));
        QCOMPARE(form_->size(), QSize(632, 696));
        QVERIFY(!form_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(Control<QLabel>("Label5")->text(),
                 QStringLiteral("Για αλλαγή κάνε click στο μήνα ή έτος"));
        QCOMPARE(Control<QLabel>("Label1")->text(), QStringLiteral("Το Πάσχα για το έτος:"));
        QCOMPARE(Control<QLabel>("Label3")->text(),
                 QStringLiteral("Αριθμός ημερών μεταξύ δύο ημερομηνιών"));
        QCOMPARE(Control<QLabel>("Label4")->text(), QStringLiteral("Από:"));
        QCOMPARE(Control<QLabel>("Label6")->text(), QStringLiteral("Μέχρι:"));
        QCOMPARE(Control<QCalendarWidget>("MonthCalendar1")->size(), QSize(617, 585));
        QCOMPARE(Control<QCalendarWidget>("MonthCalendar1")->verticalHeaderFormat(),
                 QCalendarWidget::ISOWeekNumbers);
        QCOMPARE(Year()->width(), 57);
        QCOMPARE(Year()->toolTip(), QStringLiteral("Έτος"));
        auto* exit = Control<QPushButton>("Button1");
        QCOMPARE(exit->text(), QStringLiteral("Έξοδος"));
        QCOMPARE(exit->toolTip(), QStringLiteral("Έξοδος"));
    }

    void dateFieldsAndPickers_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("picker");
        QTest::newRow("start") << "Edit1"
                               << "DateTimePicker1";
        QTest::newRow("end") << "Edit2"
                             << "DateTimePicker2";
    }

    void dateFieldsAndPickers() {
        QFETCH(QString, field);
        QFETCH(QString, picker);
        auto* text = form_->findChild<QLineEdit*>(field);
        QVERIFY(text->isReadOnly());
        QVERIFY(!(text->focusPolicy() & Qt::TabFocus));
        QCOMPARE(text->width(), 91);
        auto* dropDown = form_->findChild<QDateEdit*>(picker);
        QCOMPARE(dropDown->width(), 18);
        QCOMPARE(dropDown->x(), text->geometry().right() + 1);
        QVERIFY(dropDown->calendarPopup());
        QCOMPARE(dropDown->toolTip(), QStringLiteral("Επέλεξε ή δώσε ημερομηνία"));
        QCOMPARE(dropDown->minimumDate(), QDate(1940, 1, 1));
        QCOMPARE(dropDown->maximumDate(), QDate(2050, 1, 1));
    }

    void todayBeyondThePickersStopsAtTheirLastDay() {
        delete form_;
        SetLocalNowForTests(QDateTime(QDate(2061, 7, 1), QTime(9, 0)));
        form_ = new TForm65;
        QCOMPARE(Year()->value(), 2061);
        QCOMPARE(Control<QDateEdit>("DateTimePicker1")->date(), QDate(2050, 1, 1));
        QCOMPARE(Control<QLineEdit>("Edit2")->text(), QStringLiteral("1/1/50"));
        QVERIFY(SpanShown().isEmpty());
    }

    void easterOfKnownYears_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("text");
        QTest::newRow("2024 late, in May") << 2024 << QStringLiteral("είναι 5 Μαϊου");
        QTest::newRow("2025 shared with the West") << 2025 << QStringLiteral("είναι 20 Απριλίου");
        QTest::newRow("2008") << 2008 << QStringLiteral("είναι 27 Απριλίου");
        QTest::newRow("1900") << 1900 << QStringLiteral("είναι 22 Απριλίου");
        QTest::newRow("2099") << 2099 << QStringLiteral("είναι 12 Απριλίου");
        QTest::newRow("2000 last of April") << 2000 << QStringLiteral("είναι 30 Απριλίου");
        QTest::newRow("2005 first of May") << 2005 << QStringLiteral("είναι 1 Μαϊου");
        QTest::newRow("2010 earliest") << 2010 << QStringLiteral("είναι 4 Απριλίου");
        QTest::newRow("2078 latest") << 2078 << QStringLiteral("είναι 8 Μαϊου");
        QTest::newRow("1583 first year") << 1583 << QStringLiteral("είναι 10 Απριλίου");
        QTest::newRow("1700 after its skipped leap day")
            << 1700 << QStringLiteral("είναι 11 Απριλίου");
        QTest::newRow("2100 last year") << 2100 << QStringLiteral("είναι 2 Μαϊου");
    }

    void easterOfKnownYears() {
        QFETCH(int, year);
        QFETCH(QString, text);
        TypeYear(QString::number(year));
        QCOMPARE(EasterShown(), text);
    }

    void easterOfEveryAcceptedYear() {
        for (int year = kFirstEasterYear; year <= kLastEasterYear; ++year) {
            Year()->setValue(year);
            const QDate easter = IndependentOrthodoxEaster(year);
            QVERIFY2(easter.month() == 4 || easter.month() == 5, qPrintable(QString::number(year)));
            QCOMPARE(EasterShown(), ExpectedText(easter));
            QCOMPARE(easter.dayOfWeek(), int(Qt::Sunday));
            if (year >= 1900 && year <= 2099) {
                QCOMPARE(EasterShown(), FixedShiftText(year));
            }
        }
    }

    void typingTheYear_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("whileTyping");
        QTest::addColumn<int>("afterLeaving");
        QTest::newRow("two digits read as a year before the range") << "20"
                                                                    << "" << 1583;
        QTest::newRow("three digits") << "202"
                                      << "" << 1583;
        QTest::newRow("whole year") << "2024"
                                    << "είναι 5 Μαϊου" << 2024;
        QTest::newRow("empty reads as the first year") << ""
                                                       << "είναι 10 Απριλίου" << 1583;
        QTest::newRow("lone sign reads as the first year") << "-"
                                                           << "είναι 10 Απριλίου" << 1583;
        QTest::newRow("beyond the range") << "3000"
                                          << "" << 2100;
        QTest::newRow("just beyond the range") << "2101"
                                               << "" << 2100;
        QTest::newRow("negative") << "-5"
                                  << "" << 1583;
        QTest::newRow("letters are refused") << "2a0b2c4"
                                             << "είναι 5 Μαϊου" << 2024;
    }

    void typingTheYear() {
        QFETCH(QString, typed);
        QFETCH(QString, whileTyping);
        QFETCH(int, afterLeaving);
        TypeYear(typed);
        QCOMPARE(EasterShown(), whileTyping);
        Year()->clearFocus();
        QCOMPARE(Year()->value(), afterLeaving);
        QCOMPARE(YearEditor()->text(), QString::number(afterLeaving));
        QCOMPARE(EasterShown(), EasterText(afterLeaving));
    }

    void typingDigitByDigitShowsNothingBeforeTheRange() {
        TypeYear(QString());
        const QStringList partial{QStringLiteral("1"), QStringLiteral("15"), QStringLiteral("158")};
        for (const QString& text : partial) {
            testsupport::TypeText(YearEditor(), text.right(1));
            QCOMPARE(YearEditor()->text(), text);
            QVERIFY2(EasterShown().isEmpty(), qPrintable(text));
        }
        testsupport::TypeText(YearEditor(), QStringLiteral("3"));
        QCOMPARE(EasterShown(), QStringLiteral("είναι 10 Απριλίου"));
    }

    void arrowKeysStayInsideTheRange_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("up") << 2024 << int(Qt::Key_Up) << 2025;
        QTest::newRow("down") << 2024 << int(Qt::Key_Down) << 2023;
        QTest::newRow("up at the top") << 2100 << int(Qt::Key_Up) << 2100;
        QTest::newRow("down at the bottom") << 1583 << int(Qt::Key_Down) << 1583;
    }

    void arrowKeysStayInsideTheRange() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, expected);
        Year()->setValue(start);
        QTest::keyClick(Year(), Qt::Key(key));
        QCOMPARE(Year()->value(), expected);
        QCOMPARE(EasterShown(), ExpectedText(IndependentOrthodoxEaster(expected)));
    }

    void daySpan_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fromText");
        QTest::newRow("equal dates") << QDate(2024, 1, 1) << QDate(2024, 1, 1) << ""
                                     << "1/1/24";
        QTest::newRow("end before start") << QDate(2024, 1, 2) << QDate(2024, 1, 1) << ""
                                          << "2/1/24";
        QTest::newRow("consecutive days")
            << QDate(2023, 12, 31) << QDate(2024, 1, 1) << "Αριθμός ημερών=1"
            << "31/12/23";
        QTest::newRow("a leap year")
            << QDate(2024, 1, 1) << QDate(2025, 1, 1) << "Αριθμός ημερών=366"
            << "1/1/24";
        QTest::newRow("a common year")
            << QDate(2023, 1, 1) << QDate(2024, 1, 1) << "Αριθμός ημερών=365"
            << "1/1/23";
        QTest::newRow("over a leap day")
            << QDate(2024, 2, 28) << QDate(2024, 3, 1) << "Αριθμός ημερών=2"
            << "28/2/24";
        QTest::newRow("2000 keeps its leap day")
            << QDate(2000, 2, 28) << QDate(2000, 3, 1) << "Αριθμός ημερών=2"
            << "28/2/00";
        QTest::newRow("the whole range")
            << QDate(1940, 1, 1) << QDate(2050, 1, 1) << "Αριθμός ημερών=40178"
            << "1/1/40";
    }

    void daySpan() {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, text);
        QFETCH(QString, fromText);
        Control<QDateEdit>("DateTimePicker1")->setDate(from);
        Control<QDateEdit>("DateTimePicker2")->setDate(to);
        QCOMPARE(SpanShown(), text);
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), fromText);
        // Either picker recomputes: moving the start back past the end and
        // forward again follows at once.
        Control<QDateEdit>("DateTimePicker1")->setDate(to.addDays(1));
        QVERIFY(SpanShown().isEmpty());
        Control<QDateEdit>("DateTimePicker1")->setDate(from);
        QCOMPARE(SpanShown(), text);
    }

    void pickersRefuseDatesOutsideTheirRange_data() {
        QTest::addColumn<QDate>("asked");
        QTest::addColumn<QDate>("kept");
        QTest::newRow("before 1940") << QDate(1939, 12, 31) << QDate(1940, 1, 1);
        QTest::newRow("after 1 January 2050") << QDate(2050, 1, 2) << QDate(2050, 1, 1);
    }

    void pickersRefuseDatesOutsideTheirRange() {
        QFETCH(QDate, asked);
        QFETCH(QDate, kept);
        auto* picker = Control<QDateEdit>("DateTimePicker2");
        picker->setDate(asked);
        QCOMPARE(picker->date(), kept);
    }

    void escapeClosesTheWindow() {
        form_->hide();
        bool stillUp = true;
        const auto calculations = testsupport::AnswerNextWindow<TForm65>([&stillUp](TForm65* form) {
            QTest::keyClick(form, Qt::Key_Escape);
            stillUp = form->isVisible();
        });
        form_->exec();
        VERIFY_MODAL(calculations);
        QVERIFY(!stillUp);
    }
};

QTEST_MAIN(TestCalc)
#include "tst_calc.moc"
