// The month grid and its day markers on the real main window over a real
// database, and the SQL date literal the calendar builds its statements from.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "TestSupport.h"
#include "app/Unit1.h"
#include "calendar/DateLiteral.h"
#include "calendar/MonthCalendar.h"
#include "calendar/MonthMath.h"
#include "core/AppGlobals.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"
#include "widgets/Messages.h"

namespace {

using SlotTexts = QMap<int, QString>;  // slot number 1..28 -> text

const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kYellow(255, 255, 0);
const QColor kTeal(0, 128, 128);

void StoreDay(const QString& isoDate, const SlotTexts& slotTexts) {
    QStringList columns{QStringLiteral("HMEROMHNIA")};
    QStringList marks{QStringLiteral("?")};
    QVariantList values{isoDate};
    for (auto it = slotTexts.begin(); it != slotTexts.end(); ++it) {
        columns.append(store::QuoteIdentifier(store::SlotColumns().at(it.key() - 1)));
        marks.append(QStringLiteral("?"));
        values.append(it.value().isNull() ? QVariant() : QVariant(it.value()));
    }
    testsupport::ExecuteStored(
        QStringLiteral("INSERT INTO RANTEBOU (%1) VALUES (%2)")
            .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
        values);
}

QLabel* Cell(QWidget* form, const char* kind, int cell) {
    return form->findChild<QLabel*>(QStringLiteral("Label%1%2").arg(QLatin1String(kind)).arg(cell));
}

// Picks a month as the user does, through the two lists.
void ShowMonth(QWidget* form, int year, int month) {
    form->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setCurrentText(QString::number(year));
    form->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(month - 1);
}

QList<int> VisibleCells(QWidget* form) {
    QList<int> cells;
    for (int cell = 1; cell <= MonthCalendar::kDayCells; ++cell) {
        if (!Cell(form, "D", cell)->isHidden()) {
            cells.append(cell);
        }
    }
    return cells;
}

QString MarkerOfDay(QWidget* form, int day) {
    for (int cell = 1; cell <= MonthCalendar::kDayCells; ++cell) {
        if (Cell(form, "D", cell)->text() == QString::number(day)) {
            return Cell(form, "R", cell)->text();
        }
    }
    return QStringLiteral("<no cell>");
}

QColor TextColor(QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}
QColor BackColor(QLabel* label) {
    return label->palette().color(QPalette::Window);
}

}  // namespace

class TestCalendar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void weekdayOfTheFirstAndMonthLength_data();
    void weekdayOfTheFirstAndMonthLength();
    void tellingRows_data();
    void tellingRows();
    void dateLiteral_data();
    void dateLiteral();
    void missingYearIsTheClockYear();
    void isoParameterOfALiteral_data();
    void isoParameterOfALiteral();

    void opensOnTheStartupMonth();
    void selectorLists_data();
    void selectorLists();
    void cellLayout_data();
    void cellLayout();
    void weekendsAreGreyAndTodayIsYellowOnTeal();
    void todayHighlightFollowsMonthAndYear();
    void todayButtonReturnsToTheStartupMonthAfterMidnight();
    void startupYearOutsideTheList_data();
    void startupYearOutsideTheList();
    void markers_data();
    void markers();
    void neighbouringMonthsDoNotLeakIntoTheMarkers();
    void failedMarkerRefreshIsReportedAndTheGridStays();

private:
    std::unique_ptr<TForm1> OpenMainWindow(const QDate& today);
    testsupport::WorkDir& FreshDatabase();

    std::unique_ptr<testsupport::WorkDir> shared_;
    std::unique_ptr<testsupport::WorkDir> fresh_;
    std::unique_ptr<TForm1> monthSwitcher_;
};

// Tests that only read share one database; a test that writes takes a fresh
// one with FreshDatabase().
void TestCalendar::initTestCase() {
    shared_ = std::make_unique<testsupport::WorkDir>();
}

void TestCalendar::cleanupTestCase() {
    monthSwitcher_.reset();
    shared_.reset();
}

void TestCalendar::init() {
    testsupport::ResetTestHooks();
    SetLocalNowForTests(QDateTime(QDate(2015, 3, 14), QTime(10, 0)));
}

void TestCalendar::cleanup() {
    fresh_.reset();
    testsupport::ResetTestHooks();
}

testsupport::WorkDir& TestCalendar::FreshDatabase() {
    fresh_ = std::make_unique<testsupport::WorkDir>();
    return *fresh_;
}

std::unique_ptr<TForm1> TestCalendar::OpenMainWindow(const QDate& today) {
    SetLocalNowForTests(QDateTime(today, QTime(9, 30)));
    auto form = std::make_unique<TForm1>(StartupMode::CalendarOnly);
    form->show();
    return form;
}

void TestCalendar::weekdayOfTheFirstAndMonthLength_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    for (int year = MonthCalendar::kFirstListedYear; year <= MonthCalendar::kLastListedYear;
         ++year) {
        for (int month = 1; month <= 12; ++month) {
            QTest::addRow("%d-%02d", year, month) << year << month;
        }
    }
}

void TestCalendar::weekdayOfTheFirstAndMonthLength() {
    QFETCH(int, year);
    QFETCH(int, month);
    // One window serves all 336 months, as a user would switch them.
    if (!monthSwitcher_) {
        monthSwitcher_ = std::make_unique<TForm1>(StartupMode::CalendarOnly);
    }
    TForm1* form = monthSwitcher_.get();
    ShowMonth(form, year, month);

    const QDate first(year, month, 1);
    QCOMPARE(int(form->Calendar()->FirstWeekday), first.dayOfWeek());
    QCOMPARE(int(form->Calendar()->DaysInMonth), first.daysInMonth());
    QCOMPARE(form->Calendar()->LeapYearFlag, QDate::isLeapYear(year));
    QCOMPARE(app().ViewYear, year);
    QCOMPARE(app().ViewMonth, month);

    const QList<int> cells = VisibleCells(form);
    QCOMPARE(cells.size(), first.daysInMonth());
    QCOMPARE(cells.first(), first.dayOfWeek());
    QCOMPARE(cells.last(), first.dayOfWeek() + first.daysInMonth() - 1);
    for (int day = 1; day <= first.daysInMonth(); ++day) {
        const int cell = first.dayOfWeek() + day - 1;
        QCOMPARE(Cell(form, "D", cell)->text(), QString::number(day));
        QVERIFY(!Cell(form, "R", cell)->isHidden());
    }
    for (int cell = 1; cell <= MonthCalendar::kDayCells; ++cell) {
        if (!cells.contains(cell)) {
            QVERIFY(Cell(form, "D", cell)->text().isEmpty());
            QVERIFY(Cell(form, "R", cell)->isHidden());
        }
    }
}

void TestCalendar::tellingRows_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("sum");
    QTest::addColumn<int>("firstWeekday");
    QTest::addColumn<int>("lastCell");
    QTest::newRow("January 2008") << 2008 << 1 << 2528 << 2 << 32;
    QTest::newRow("March 2008") << 2008 << 3 << 2504 << 6 << 36;
    QTest::newRow("February 2009") << 2009 << 2 << 2533 << 7 << 34;
    QTest::newRow("February 2010") << 2010 << 2 << 2534 << 1 << 28;
    QTest::newRow("March 2015") << 2015 << 3 << 2512 << 7 << 37;
}

void TestCalendar::tellingRows() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, sum);
    QFETCH(int, firstWeekday);
    QFETCH(int, lastCell);
    QCOMPARE(FirstWeekdaySum(year, month), sum);
    QCOMPARE(WeekdayOfSum(sum), firstWeekday);
    QCOMPARE(CellOfDay(QDate(year, month, 1).daysInMonth(), firstWeekday), lastCell);
}

void TestCalendar::dateLiteral_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("currentYear");
    QTest::addColumn<QString>("literal");
    const QString error = QStringLiteral("ERROR");

    QTest::newRow("plain") << "5/3/2008" << 2025 << "#3/5/2008#";
    QTest::newRow("leading zeros") << "05/03/2008" << 2025 << "#3/5/2008#";
    QTest::newRow("last listed day") << "31/12/2035" << 2025 << "#12/31/2035#";
    QTest::newRow("leap day") << "29/2/2008" << 2025 << "#2/29/2008#";
    QTest::newRow("leap day 2000") << "29/2/2000" << 2025 << "#2/29/2000#";
    QTest::newRow("no leap day 2100") << "29/2/2100" << 2025 << error;
    QTest::newRow("february 30") << "30/2/2008" << 2025 << error;
    QTest::newRow("april 31") << "31/4/2008" << 2025 << error;
    QTest::newRow("day zero") << "0/3/2008" << 2025 << error;
    QTest::newRow("day 32") << "32/1/2008" << 2025 << error;
    QTest::newRow("month zero") << "5/0/2008" << 2025 << error;
    QTest::newRow("month 13") << "5/13/2008" << 2025 << error;
    QTest::newRow("year zero") << "5/3/0000" << 2025 << error;
    QTest::newRow("blanks everywhere") << " 5 / 3 / 2008 " << 2025 << "#3/5/2008#";
    QTest::newRow("two fields") << "5/3" << 2025 << "#3/5/2025#";
    QTest::newRow("two fields, blanks") << " 5 / 3 " << 2031 << "#3/5/2031#";
    QTest::newRow("two fields and a slash") << "5/3/" << 2025 << error;
    QTest::newRow("one trailing slash") << "5/3/2008/" << 2025 << "#3/5/2008#";
    QTest::newRow("trailing slash and blanks") << "5/3/2008 / " << 2025 << "#3/5/2008#";
    QTest::newRow("two trailing slashes") << "5/3/2008//" << 2025 << error;
    QTest::newRow("trailing letter") << "5/3/2008a" << 2025 << error;
    QTest::newRow("trailing letter after blank") << "5/3/2008 a" << 2025 << error;
    QTest::newRow("leading letter") << "a5/3/2008" << 2025 << error;
    QTest::newRow("fourth field") << "5/3/2008/1" << 2025 << error;
    QTest::newRow("dots") << "5.3.2008" << 2025 << error;
    QTest::newRow("hyphens") << "5-3-2008" << 2025 << error;
    QTest::newRow("sign") << "+5/3/2008" << 2025 << error;
    QTest::newRow("three digit day") << "005/3/2008" << 2025 << error;
    QTest::newRow("five digit year") << "5/3/20080" << 2025 << error;
    QTest::newRow("blank inside a number") << "1 5/3/2008" << 2025 << error;
    QTest::newRow("empty") << "" << 2025 << error;
    QTest::newRow("blanks only") << "   " << 2025 << error;
    QTest::newRow("one field") << "5" << 2025 << error;
    QTest::newRow("missing day") << "/3/2008" << 2025 << error;
    QTest::newRow("missing month") << "5//2008" << 2025 << error;
    QTest::newRow("greek letters") << "πέντε/3/2008" << 2025 << error;
    QTest::newRow("arabic-indic digits") << "٥/٣/٢٠٠٨" << 2025 << error;
    QTest::newRow("tab is not a blank") << "5/3/2008\t" << 2025 << error;
    // The 100-year window starts 50 years before the current year.
    QTest::newRow("07 in 2025") << "1/1/07" << 2025 << "#1/1/2007#";
    QTest::newRow("80 in 2025") << "1/1/80" << 2025 << "#1/1/1980#";
    QTest::newRow("74 in 2025") << "1/1/74" << 2025 << "#1/1/2074#";
    QTest::newRow("75 in 2025, window start") << "1/1/75" << 2025 << "#1/1/1975#";
    QTest::newRow("one digit year") << "1/1/8" << 2025 << "#1/1/2008#";
    QTest::newRow("00 in 2025") << "1/1/00" << 2025 << "#1/1/2000#";
    QTest::newRow("00 in 2051, window start") << "1/1/00" << 2050 << "#1/1/2000#";
    QTest::newRow("99 in 2050, window end") << "1/1/99" << 2050 << "#1/1/2099#";
    QTest::newRow("00 in 2051") << "1/1/00" << 2051 << "#1/1/2100#";
    QTest::newRow("01 in 2051, window start") << "1/1/01" << 2051 << "#1/1/2001#";
    QTest::newRow("short leap day by window") << "29/2/00" << 2051 << error;
    QTest::newRow("three digit year is literal") << "5/3/208" << 2025 << "#3/5/208#";
}

void TestCalendar::dateLiteral() {
    QFETCH(QString, text);
    QFETCH(int, currentYear);
    QFETCH(QString, literal);
    QCOMPARE(SqlDateLiteral(text, currentYear), literal);

    SetLocalNowForTests(QDateTime(QDate(currentYear, 6, 30), QTime(23, 59)));
    QString variable = text;
    ToSqlDateLiteral(variable);
    QCOMPARE(variable, literal);
}

void TestCalendar::missingYearIsTheClockYear() {
    SetLocalNowForTests(QDateTime(QDate(2030, 12, 31), QTime(23, 59, 59)));
    QString text = QStringLiteral("5/3");
    ToSqlDateLiteral(text);
    QCOMPARE(text, QStringLiteral("#3/5/2030#"));
    SetLocalNowForTests(QDateTime(QDate(2031, 1, 1), QTime(0, 0)));
    text = QStringLiteral("5/3");
    ToSqlDateLiteral(text);
    QCOMPARE(text, QStringLiteral("#3/5/2031#"));
}

void TestCalendar::isoParameterOfALiteral_data() {
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("iso");
    QTest::newRow("march 5") << "#3/5/2008#"
                             << "2008-03-05";
    QTest::newRow("december 31") << "#12/31/2035#"
                                 << "2035-12-31";
    QTest::newRow("three digit year") << "#3/5/208#"
                                      << "0208-03-05";
    QTest::newRow("error") << "ERROR"
                           << "";
    QTest::newRow("not a date") << "#2/30/2008#"
                                << "";
    QTest::newRow("day text") << "5/3/2008"
                              << "";
    QTest::newRow("injection") << "#3/5/2008# OR 1=1"
                               << "";
}

void TestCalendar::isoParameterOfALiteral() {
    QFETCH(QString, literal);
    QFETCH(QString, iso);
    if (iso.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(store::DatabaseError, IsoDateParameter(literal));
    } else {
        QCOMPARE(IsoDateParameter(literal), iso);
    }
}

void TestCalendar::opensOnTheStartupMonth() {
    auto form = OpenMainWindow(QDate(2026, 12, 9));
    QVERIFY(!form->quitRequested());
    QCOMPARE(app().TodayYear, quint16(2026));
    QCOMPARE(app().TodayMonth, quint16(12));
    QCOMPARE(app().TodayDay, quint16(9));
    QCOMPARE(form->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->currentText(),
             QStringLiteral("2026"));
    QCOMPARE(form->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->currentText(),
             QStringLiteral("Δεκέμβριος"));
    QCOMPARE(VisibleCells(form.get()).first(), 2);
    QCOMPARE(form->windowTitle(), kApplicationTitle);
    QCOMPARE(form->size(), QSize(626, 716));
}

void TestCalendar::selectorLists_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("visibleWhenDropped");
    QStringList years;
    for (int year = 2008; year <= 2035; ++year) {
        years.append(QString::number(year));
    }
    QTest::newRow("years") << "ComboBox2" << years << 15;
    QTest::newRow("months") << "ComboBox1"
                            << QStringList{"Ιανουάριος",  "Φεβρουάριος", "Μάρτιος",   "Απρίλιος",
                                           "Μάιος",       "Ιούνιος",     "Ιούλιος",   "Αύγουστος",
                                           "Σεπτέμβριος", "Οκτώβριος",   "Νοέμβριος", "Δεκέμβριος"}
                            << 12;
}

void TestCalendar::selectorLists() {
    QFETCH(QString, name);
    QFETCH(QStringList, entries);
    QFETCH(int, visibleWhenDropped);
    auto form = OpenMainWindow(QDate(2015, 3, 14));
    auto* list = form->findChild<QComboBox*>(name);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) {
        shown.append(list->itemText(i));
    }
    QCOMPARE(shown, entries);
    QVERIFY(!list->isEditable());
    QVERIFY(!(list->focusPolicy() & Qt::TabFocus));
    QCOMPARE(list->palette().color(QPalette::Text), QColor(0, 0, 255));

    list->showPopup();
    QAbstractItemView* view = list->view();
    QTRY_VERIFY(view->isVisible());
    QCOMPARE(view->viewport()->height() / view->sizeHintForRow(0), visibleWhenDropped);
    list->hidePopup();
}

void TestCalendar::cellLayout_data() {
    QTest::addColumn<int>("cell");
    QTest::addColumn<QRect>("day");
    QTest::addColumn<QRect>("marker");
    const int dayTops[] = {159, 223, 286, 349, 412, 475};
    const int markerTops[] = {175, 238, 302, 364, 428, 494};
    for (int cell = 1; cell <= MonthCalendar::kDayCells; ++cell) {
        const int left = 39 + 80 * ((cell - 1) % 7);
        const int row = (cell - 1) / 7;
        QTest::addRow("cell %d", cell)
            << cell << QRect(left, dayTops[row], 67, 14) << QRect(left, markerTops[row], 67, 30);
    }
}

void TestCalendar::cellLayout() {
    QFETCH(int, cell);
    QFETCH(QRect, day);
    QFETCH(QRect, marker);
    if (!monthSwitcher_) {
        monthSwitcher_ = std::make_unique<TForm1>(StartupMode::CalendarOnly);
    }
    // Positions in the main window's client area, wherever the cells sit.
    const auto placed = [this](QWidget* control) {
        return QRect(control->mapTo(monthSwitcher_.get(), QPoint()), control->size());
    };
    QLabel* dayLabel = Cell(monthSwitcher_.get(), "D", cell);
    QCOMPARE(placed(dayLabel), day);
    QCOMPARE(dayLabel->toolTip(), QStringLiteral("Κάνε click"));
    QCOMPARE(dayLabel->cursor().shape(), Qt::PointingHandCursor);
    QLabel* markerLabel = Cell(monthSwitcher_.get(), "R", cell);
    QCOMPARE(placed(markerLabel), marker);
    QCOMPARE(TextColor(markerLabel), QColor(255, 0, 0));
}

void TestCalendar::weekendsAreGreyAndTodayIsYellowOnTeal() {
    // 14 March 2015 is a Saturday: today's colours win over the weekend grey.
    auto form = OpenMainWindow(QDate(2015, 3, 14));
    for (int cell = 7; cell <= 37; ++cell) {
        QLabel* label = Cell(form.get(), "D", cell);
        const bool weekend = (cell - 1) % 7 >= 5;
        if (label->text() == QLatin1String("14")) {
            QCOMPARE(TextColor(label), kYellow);
            QCOMPARE(BackColor(label), kTeal);
        } else {
            QCOMPARE(TextColor(label), weekend ? kGrey : kBlack);
            QCOMPARE(BackColor(label), QColor(Qt::white));
        }
    }
}

void TestCalendar::todayHighlightFollowsMonthAndYear() {
    auto form = OpenMainWindow(QDate(2015, 3, 14));
    const auto highlighted = [&form] {
        QStringList days;
        for (int cell = 1; cell <= MonthCalendar::kDayCells; ++cell) {
            if (BackColor(Cell(form.get(), "D", cell)) == kTeal) {
                days.append(Cell(form.get(), "D", cell)->text());
            }
        }
        return days;
    };
    QCOMPARE(highlighted(), QStringList{QStringLiteral("14")});
    ShowMonth(form.get(), 2015, 4);
    QVERIFY(highlighted().isEmpty());
    ShowMonth(form.get(), 2016, 3);
    QVERIFY(highlighted().isEmpty());
    ShowMonth(form.get(), 2015, 3);
    QCOMPARE(highlighted(), QStringList{QStringLiteral("14")});
}

void TestCalendar::todayButtonReturnsToTheStartupMonthAfterMidnight() {
    auto form = OpenMainWindow(QDate(2015, 3, 31));
    ShowMonth(form.get(), 2009, 2);
    SetLocalNowForTests(QDateTime(QDate(2015, 4, 1), QTime(0, 5)));
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    QCOMPARE(app().ViewYear, 2015);
    QCOMPARE(app().ViewMonth, 3);
    QCOMPARE(app().TodayDay, quint16(31));
    QLabel* last = Cell(form.get(), "D", 37);
    QCOMPARE(last->text(), QStringLiteral("31"));
    QCOMPARE(BackColor(last), kTeal);
}

void TestCalendar::startupYearOutsideTheList_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("ends");
    QTest::newRow("last day before the list") << QDate(2007, 12, 31) << true;
    QTest::newRow("first listed day") << QDate(2008, 1, 1) << false;
    QTest::newRow("last listed day") << QDate(2035, 12, 31) << false;
    QTest::newRow("first day after the list") << QDate(2036, 1, 1) << true;
}

void TestCalendar::startupYearOutsideTheList() {
    QFETCH(QDate, today);
    QFETCH(bool, ends);
    auto form = OpenMainWindow(today);
    QCOMPARE(form->quitRequested(), ends);
    QCOMPARE(VisibleCells(form.get()).size(), ends ? 0 : 31);
}

void TestCalendar::markers_data() {
    QTest::addColumn<bool>("hasRow");
    QTest::addColumn<SlotTexts>("slotTexts");
    QTest::addColumn<QString>("marker");
    SlotTexts all;
    for (int slot = 1; slot <= 28; ++slot) {
        all.insert(slot, QStringLiteral("εργασία %1").arg(slot));
    }
    QTest::newRow("no row") << false << SlotTexts() << "";
    QTest::newRow("row without slots") << true << SlotTexts() << "";
    QTest::newRow("null, empty and blank slots")
        << true << SlotTexts{{1, QString()}, {2, ""}, {3, "   "}, {28, " "}} << "";
    QTest::newRow("control characters only")
        << true << SlotTexts{{4, "\t"}, {5, "\r\n"}, {6, QString(QChar(0x1F))}} << "";
    QTest::newRow("one letter between blanks") << true << SlotTexts{{1, "  α  "}} << "1";
    QTest::newRow("first and last slot") << true << SlotTexts{{1, "a"}, {28, "b"}} << "2";
    QTest::newRow("greek text and a blank slot")
        << true << SlotTexts{{3, "Γιατρός"}, {9, "Τράπεζα"}, {10, " "}, {20, "Σούπερ μάρκετ"}}
        << "3";
    QTest::newRow("all 28") << true << all << "28";
}

void TestCalendar::markers() {
    QFETCH(bool, hasRow);
    QFETCH(SlotTexts, slotTexts);
    QFETCH(QString, marker);
    FreshDatabase();
    if (hasRow) {
        StoreDay(QStringLiteral("2010-02-17"), slotTexts);
    }
    StoreDay(QStringLiteral("2010-02-18"), {{1, QStringLiteral("next day")}});

    auto form = OpenMainWindow(QDate(2010, 2, 1));
    QCOMPARE(MarkerOfDay(form.get(), 17), marker);
    QCOMPARE(MarkerOfDay(form.get(), 18), QStringLiteral("1"));
    QCOMPARE(MarkerOfDay(form.get(), 16), QString());
}

void TestCalendar::neighbouringMonthsDoNotLeakIntoTheMarkers() {
    FreshDatabase();
    StoreDay(QStringLiteral("2008-02-29"), {{1, QStringLiteral("a")}});
    StoreDay(QStringLiteral("2008-03-01"), {{1, QStringLiteral("a")}, {2, QStringLiteral("b")}});
    StoreDay(QStringLiteral("2008-03-31"), {{5, QStringLiteral("c")}});
    StoreDay(QStringLiteral("2008-04-01"), {{1, QStringLiteral("a")}});
    StoreDay(QStringLiteral("2009-03-15"), {{1, QStringLiteral("a")}});

    auto form = OpenMainWindow(QDate(2008, 3, 10));
    QStringList markers;
    for (int day = 1; day <= 31; ++day) {
        markers.append(MarkerOfDay(form.get(), day));
    }
    QStringList expected(31, QString());
    expected[0] = QStringLiteral("2");
    expected[30] = QStringLiteral("1");
    QCOMPARE(markers, expected);

    // April has 30 days: the cells after day 30 hold no day and no marker.
    ShowMonth(form.get(), 2008, 4);
    QCOMPARE(MarkerOfDay(form.get(), 1), QStringLiteral("1"));
    QCOMPARE(MarkerOfDay(form.get(), 31), QStringLiteral("<no cell>"));
    QCOMPARE(VisibleCells(form.get()).size(), 30);
}

void TestCalendar::failedMarkerRefreshIsReportedAndTheGridStays() {
    const testsupport::WorkDir& work = FreshDatabase();
    auto form = OpenMainWindow(QDate(2008, 3, 10));
    QVERIFY(QFile::remove(work.databasePath()));
    testsupport::MessageLog messages;
    ShowMonth(form.get(), 2008, 4);
    const QStringList reported = messages.texts();
    QCOMPARE(reported.size(), 1);
    QVERIFY2(reported.first().contains(QStringLiteral("data.mdb")), qPrintable(reported.first()));
    QCOMPARE(app().ViewMonth, 4);
    QCOMPARE(VisibleCells(form.get()).size(), 30);
    QVERIFY(form->isVisible());
}

QTEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
