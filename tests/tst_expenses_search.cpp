// The expenses search and the expenses by month, driven through their real
// windows over a real database: what a range lists and sums, which criteria
// are refused, and what printing writes to the PDF.
#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>

#include "TestSupport.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "widgets/DBGrid.h"
#include "widgets/DBText.h"
#include "widgets/Messages.h"

namespace {

const QString kBadCriteria = QStringLiteral("Λανθασμένα κριτήρια.");

struct Expense {
    const char* isoDate;
    QVariant cents;
    QVariant vatCents;
    const char* text;
};

// The expenses every test starts from. The rows of March 2007 straddle both
// ends of the month; 28/02 sorts after 01/03 as day-first text, so the
// listing must follow the dates.
const Expense kExpenses[] = {
    {"1990-06-15", 5000, 1200, "Παλιό"},           {"2006-12-20", 10000, 2300, "Δεκέμβριος"},
    {"2007-01-10", 5050, QVariant(), "Χωρίς ΦΠΑ"}, {"2007-01-20", 1000, 230, "Ιανουάριος"},
    {"2007-02-28", 10, 20, "Τέλος Φεβρουαρίου"},   {"2007-03-01", 20, 10, "Αρχή Μαρτίου"},
    {"2007-03-31", 400000, 92000, "Ενοίκιο"},      {"2007-04-01", 700, 161, "Απρίλιος"},
    {"2008-02-29", 1999, 460, "Δίσεκτη"},
};

QString Joined(const QStringList& cells) {
    return cells.join(QLatin1Char('|'));
}

// Overwrites the pages of the database that hold the named table and its
// indexes, or the whole file when table is empty; gives back the file's
// bytes as they were.
QByteArray DamagePages(const QString& path, const QString& table) {
    constexpr int kPageSize = 1024;
    // A write of another program first, so that the window's handle reads
    // the pages again instead of trusting its cache.
    testsupport::ExecuteStored(QStringLiteral("UPDATE EKSODA SET PERIGRAFH = PERIGRAFH"));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        return {};
    }
    const QByteArray before = file.readAll();
    if (table.isEmpty()) {
        file.seek(0);
        file.write(QByteArray(before.size(), '\xA5'));
        return before;
    }
    const QStringList pages = testsupport::StoredColumn(
        QStringLiteral("SELECT rootpage FROM sqlite_master WHERE tbl_name = ? AND rootpage > 0"),
        {table});
    for (const QString& page : pages) {
        file.seek(qint64(page.toInt() - 1) * kPageSize);
        file.write(QByteArray(kPageSize, '\xA5'));
    }
    return before;
}

}  // namespace

class TestExpensesSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void searchRefusesWhatIsNotADate_data();
    void searchRefusesWhatIsNotADate();
    void findIsDisabledWhileABoxHoldsForbiddenText_data();
    void findIsDisabledWhileABoxHoldsForbiddenText();
    void searchListsTheRangeAndItsSums_data();
    void searchListsTheRangeAndItsSums();
    void byMonthRefusesWhatIsNotAYear_data();
    void byMonthRefusesWhatIsNotAYear();
    void byMonthSumsEveryMonthOfTheYears_data();
    void byMonthSumsEveryMonthOfTheYears();
    void sumsAreExactToTheCent();
    void closingEmptiesTheBoxesAndDisablesPrinting();
    void printingFailureShowsTheErrorAndPrintsNothing();
    void printingUsesTheLastSearchNotTheBoxes();
    void searchAfterTheFileWentBad_data();
    void searchAfterTheFileWentBad();
    void byMonthPrintsTheChartTheLinesAndTheSums();

private:
    std::unique_ptr<testsupport::WorkDir> work_;
    store::Connection connection_;
    QStringList boxes_;
    QString pdf_;

    void addExpenses();
    void search(QDialog& window, const QString& from, const QString& to);
    static QStringList gridLines(QDialog& window);
    static QString sums(QDialog& window);
    static QPushButton* button(QDialog& window, const char* name);
    QString printed(QDialog& window);
};

void TestExpensesSearch::init() {
    work_ = std::make_unique<testsupport::WorkDir>();
    connection_.reopen(work_->connectionString());
    addExpenses();
    boxes_.clear();
    widgets::SetMessageResponder([this](const widgets::MessageRequest& request) {
        boxes_.append(request.text);
        return widgets::Answer::Ok;
    });
    pdf_ = work_->path() + QStringLiteral("/report.pdf");
    qputenv("KAVELO_REPORT_PDF", pdf_.toUtf8());
}

void TestExpensesSearch::cleanup() {
    qunsetenv("KAVELO_REPORT_PDF");
    widgets::SetMessageResponder(nullptr);
    connection_.close();
    work_.reset();
}

void TestExpensesSearch::addExpenses() {
    for (const Expense& expense : kExpenses) {
        store::Execute(connection_,
                       QStringLiteral("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) "
                                      "VALUES (?, ?, ?, ?)"),
                       {QString::fromLatin1(expense.isoDate), expense.cents, expense.vatCents,
                        QString::fromUtf8(expense.text)});
    }
}

void TestExpensesSearch::search(QDialog& window, const QString& from, const QString& to) {
    auto* edit1 = window.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* edit2 = window.findChild<QLineEdit*>(QStringLiteral("Edit2"));
    edit1->clear();
    edit2->clear();
    testsupport::TypeText(edit1, from);
    testsupport::TypeText(edit2, to);
    QVERIFY(button(window, "Button1")->isEnabled());
    button(window, "Button1")->click();
}

QStringList TestExpensesSearch::gridLines(QDialog& window) {
    const QAbstractItemModel* model =
        window.findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"))->model();
    QStringList lines;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            cells.append(model->index(row, column).data().toString());
        }
        lines.append(Joined(cells));
    }
    return lines;
}

QString TestExpensesSearch::sums(QDialog& window) {
    QStringList texts;
    for (const char* name : {"DBText1", "DBText2", "DBText3"}) {
        texts.append(window.findChild<widgets::DBText*>(QLatin1String(name))->text());
    }
    return Joined(texts);
}

QPushButton* TestExpensesSearch::button(QDialog& window, const char* name) {
    return window.findChild<QPushButton*>(QLatin1String(name));
}

QString TestExpensesSearch::printed(QDialog& window) {
    QFile::remove(pdf_);
    button(window, "Button3")->click();
    return testsupport::PdfText(pdf_);
}

void TestExpensesSearch::searchRefusesWhatIsNotADate_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("both boxes empty") << QString() << QString();
    QTest::newRow("31/02/2007 in From") << "31/02/2007"
                                        << "31/03/2007";
    QTest::newRow("31/02/2007 in To") << "01/03/2007"
                                      << "31/02/2007";
    QTest::newRow("both wrong: one message") << "29/02/2007"
                                             << "abc";
    QTest::newRow("a day beyond 31") << "32/01/2007"
                                     << "31/03/2007";
}

// The earlier search stays on show: no statement runs for a refused range.
void TestExpensesSearch::searchRefusesWhatIsNotADate() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    TForm14 window;
    search(window, QStringLiteral("31/03/2007"), QStringLiteral("31/03/2007"));
    QVERIFY(button(window, "Button3")->isEnabled());
    search(window, from, to);
    QCOMPARE(boxes_, QStringList{kBadCriteria});
    QVERIFY(!button(window, "Button3")->isEnabled());
    QCOMPARE(gridLines(window), QStringList{"Ενοίκιο|31/03/2007|4000,00|920,00|4920,00"});
    QCOMPARE(sums(window), QStringLiteral("4000,00|920,00|4920,00"));
}

void TestExpensesSearch::findIsDisabledWhileABoxHoldsForbiddenText_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("full stops in From") << "Edit1"
                                        << "28.03.2007" << false;
    QTest::newRow("full stops in To") << "Edit2"
                                      << "28.03.2007" << false;
    QTest::newRow("hyphens") << "Edit1"
                             << "28-03-2007" << false;
    QTest::newRow("a year with a full stop") << "Edit2"
                                             << "2007.5" << false;
    QTest::newRow("a date") << "Edit1"
                            << " 28/03/2007 " << true;
}

void TestExpensesSearch::findIsDisabledWhileABoxHoldsForbiddenText() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    TForm14 search;
    TForm15 byMonth;
    for (QDialog* window : {static_cast<QDialog*>(&search), static_cast<QDialog*>(&byMonth)}) {
        auto* edit = window->findChild<QLineEdit*>(box);
        testsupport::TypeText(edit, text);
        QCOMPARE(button(*window, "Button1")->isEnabled(), enabled);
        edit->clear();
        QVERIFY(button(*window, "Button1")->isEnabled());
    }
}

void TestExpensesSearch::searchListsTheRangeAndItsSums_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("sums");
    QTest::newRow("both ends included, in date order")
        << "28/02/2007"
        << "31/03/2007"
        << QStringList{"Τέλος Φεβρουαρίου|28/02/2007|0,10|0,20|0,30",
                       "Αρχή Μαρτίου|01/03/2007|0,20|0,10|0,30",
                       "Ενοίκιο|31/03/2007|4000,00|920,00|4920,00"}
        << "4000,30|920,30|4920,60";
    QTest::newRow("blanks around the dates")
        << " \t01/03/2007"
        << "01/03/2007  " << QStringList{"Αρχή Μαρτίου|01/03/2007|0,20|0,10|0,30"}
        << "0,20|0,10|0,30";
    QTest::newRow("29/02/2008 is a day")
        << "29/02/2008"
        << "29/2/2008" << QStringList{"Δίσεκτη|29/02/2008|19,99|4,60|24,59"} << "19,99|4,60|24,59";
    QTest::newRow("a missing VAT: no total, counted in the amounts only")
        << "01/01/2007"
        << "31/01/2007"
        << QStringList{"Χωρίς ΦΠΑ|10/01/2007|50,50||", "Ιανουάριος|20/01/2007|10,00|2,30|12,30"}
        << "60,50|2,30|12,30";
    QTest::newRow("a range without expenses") << "01/05/2007"
                                              << "31/12/2007" << QStringList() << "||";
}

void TestExpensesSearch::searchListsTheRangeAndItsSums() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, lines);
    QFETCH(QString, sums);
    TForm14 window;
    search(window, from, to);
    QCOMPARE(boxes_, QStringList());
    QCOMPARE(gridLines(window), lines);
    QCOMPARE(this->sums(window), sums);
    QVERIFY(button(window, "Button3")->isEnabled());
}

void TestExpensesSearch::byMonthRefusesWhatIsNotAYear_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("both boxes empty") << QString() << QString();
    QTest::newRow("letters O for zeros") << "2OO7"
                                         << "2007";
    QTest::newRow("a year no date can carry") << "2006"
                                              << "10000";
    QTest::newRow("a year beyond every whole number") << "2006"
                                                      << "99999999999999999999";
    QTest::newRow("a blank inside") << "20 06"
                                    << "2007";
}

// The lines and sums of the earlier search go: the queries did not open.
void TestExpensesSearch::byMonthRefusesWhatIsNotAYear() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    TForm15 window;
    search(window, QStringLiteral("2007"), QStringLiteral("2007"));
    QCOMPARE(gridLines(window).size(), 4);
    search(window, from, to);
    QCOMPARE(boxes_, QStringList{kBadCriteria});
    QVERIFY(!button(window, "Button3")->isEnabled());
    QCOMPARE(gridLines(window), QStringList());
    QCOMPARE(sums(window), QStringLiteral("||"));
}

void TestExpensesSearch::byMonthSumsEveryMonthOfTheYears_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("sums");
    QTest::newRow("December 2006 before January 2007")
        << "2006"
        << "2007"
        << QStringList{"12|2006|100,00|23,00|123,00", "1|2007|60,50|2,30|12,30",
                       "2|2007|0,10|0,20|0,30", "3|2007|4000,20|920,10|4920,30",
                       "4|2007|7,00|1,61|8,61"}
        << "4167,80|947,21|5064,51";
    QTest::newRow("07 is the year 7: everything up to 2007")
        << "07"
        << " 2007 " << QStringList{"6|1990|50,00|12,00|62,00",      "12|2006|100,00|23,00|123,00",
                                   "1|2007|60,50|2,30|12,30",       "2|2007|0,10|0,20|0,30",
                                   "3|2007|4000,20|920,10|4920,30", "4|2007|7,00|1,61|8,61"}
        << "4217,80|959,21|5126,51";
    QTest::newRow("one leap year")
        << "2008"
        << "0002008" << QStringList{"2|2008|19,99|4,60|24,59"} << "19,99|4,60|24,59";
    QTest::newRow("years without expenses") << "2009"
                                            << "9999" << QStringList() << "||";
}

void TestExpensesSearch::byMonthSumsEveryMonthOfTheYears() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, lines);
    QFETCH(QString, sums);
    TForm15 window;
    search(window, from, to);
    QCOMPARE(boxes_, QStringList());
    QCOMPARE(gridLines(window), lines);
    QCOMPARE(this->sums(window), sums);
    QVERIFY(button(window, "Button3")->isEnabled());
}

// Ten thousand cents on one day: a sum in floating point would drift.
void TestExpensesSearch::sumsAreExactToTheCent() {
    store::Execute(connection_, QStringLiteral("BEGIN"));
    for (int i = 0; i < 10000; ++i) {
        store::Execute(connection_,
                       QStringLiteral("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) "
                                      "VALUES ('2010-05-05', 1, 1, 'Λεπτό')"));
    }
    store::Execute(connection_, QStringLiteral("COMMIT"));
    TForm14 search;
    this->search(search, QStringLiteral("5/5/2010"), QStringLiteral("5/5/2010"));
    QCOMPARE(gridLines(search).size(), 10000);
    QCOMPARE(gridLines(search).first(), QStringLiteral("Λεπτό|05/05/2010|0,01|0,01|0,02"));
    QCOMPARE(sums(search), QStringLiteral("100,00|100,00|200,00"));
    TForm15 byMonth;
    this->search(byMonth, QStringLiteral("2010"), QStringLiteral("2010"));
    QCOMPARE(gridLines(byMonth), QStringList{"5|2010|100,00|100,00|200,00"});
}

void TestExpensesSearch::closingEmptiesTheBoxesAndDisablesPrinting() {
    TForm14 search;
    TForm15 byMonth;
    this->search(search, QStringLiteral("01/03/2007"), QStringLiteral("31/03/2007"));
    this->search(byMonth, QStringLiteral("2007"), QStringLiteral("2007"));
    for (QDialog* window : {static_cast<QDialog*>(&search), static_cast<QDialog*>(&byMonth)}) {
        QVERIFY(button(*window, "Button3")->isEnabled());
        window->show();
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QVERIFY(window->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text().isEmpty());
        QVERIFY(window->findChild<QLineEdit*>(QStringLiteral("Edit2"))->text().isEmpty());
        QVERIFY(button(*window, "Button1")->isEnabled());
        QVERIFY(!button(*window, "Button3")->isEnabled());
    }
    QCOMPARE(boxes_, QStringList());
}

void TestExpensesSearch::printingFailureShowsTheErrorAndPrintsNothing() {
    TForm14 window;
    search(window, QStringLiteral("01/03/2007"), QStringLiteral("31/03/2007"));
    const QString layout = work_->path() + QStringLiteral("/EKSODA1.RAV");
    QVERIFY(QFile::remove(layout));
    QCOMPARE(printed(window), QString());
    QCOMPARE(boxes_.size(), 1);
    QVERIFY2(boxes_.first().contains(QLatin1Char('"') + layout + QLatin1Char('"')),
             qPrintable(boxes_.first()));
    QVERIFY(!QFile::exists(pdf_));
}

void TestExpensesSearch::printingUsesTheLastSearchNotTheBoxes() {
    TForm14 window;
    search(window, QStringLiteral("01/03/2007"), QStringLiteral("31/03/2007"));
    const QString shownSums = sums(window);
    window.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("01/04/2007"));
    window.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("30/04/2007"));
    const QString text = printed(window);
    QCOMPARE(boxes_, QStringList());
    QVERIFY(text.contains(
        QRegularExpression(QStringLiteral("01/03/2007 +Αρχή Μαρτίου +0,20 +0,10 +0,30"))));
    QVERIFY(text.contains(
        QRegularExpression(QStringLiteral("31/03/2007 +Ενοίκιο +4000,00 +920,00 +4920,00"))));
    QVERIFY(!text.contains(QStringLiteral("Απρίλιος")));
    QVERIFY(text.contains(QStringLiteral("Από 01/03/2007 έως 31/03/2007")));
    const QStringList sums = shownSums.split(QLatin1Char('|'));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("Αξία \\(EUR\\): +%1").arg(sums[0]))));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("Φ.Π.Α \\(EUR\\): +%1").arg(sums[1]))));
    QVERIFY(text.contains(
        QRegularExpression(QStringLiteral("Αξία \\+ Φ.Π.Α \\(EUR\\): +%1").arg(sums[2]))));
}

void TestExpensesSearch::byMonthPrintsTheChartTheLinesAndTheSums() {
    TForm15 window;
    search(window, QStringLiteral("2006"), QStringLiteral("2007"));
    const QStringList sums = this->sums(window).split(QLatin1Char('|'));
    window.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("1990"));
    const QString text = printed(window);
    QCOMPARE(boxes_, QStringList());
    // The chart's labels, one per month, come before the table's title.
    qsizetype at = 0;
    for (const char* label : {"12/2006", "1/2007", "2/2007", "3/2007", "4/2007", "Μήνας"}) {
        at = text.indexOf(QString::fromUtf8(label), at);
        QVERIFY2(at >= 0, label);
    }
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("12 +2006 +100,00 +23,00 +123,00"))));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("1 +2007 +60,50 +2,30 +12,30"))));
    QVERIFY(!text.contains(QStringLiteral("1990")));
    QVERIFY(text.contains(QStringLiteral("Έτη 2006 έως 2007")));
    QVERIFY(text.contains(
        QRegularExpression(QStringLiteral("Ολικά ποσά.*%1.*%2.*%3").arg(sums[0], sums[1], sums[2]),
                           QRegularExpression::DotMatchesEverythingOption)));
}

QTEST_MAIN(TestExpensesSearch)
#include "tst_expenses_search.moc"

void TestExpensesSearch::searchAfterTheFileWentBad_data() {
    QTest::addColumn<bool>("byMonth");
    QTest::addColumn<QString>("damaged");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("printable");
    const QString unreadable = QStringLiteral("cannot be opened");
    QTest::newRow("search: the file unreadable at the reconnect")
        << false << QString() << unreadable << false;
    QTest::newRow("by month: the file unreadable at the reconnect")
        << true << QString() << unreadable << false;
    QTest::newRow("search: the expenses unreadable")
        << false << QStringLiteral("EKSODA") << kBadCriteria << false;
    QTest::newRow("by month: the expenses unreadable")
        << true << QStringLiteral("EKSODA") << kBadCriteria << false;
    // Only reads: a page the search never needs is no concern of it.
    QTest::newRow("search: damage in the notes only")
        << false << QStringLiteral("NOTES") << QString() << true;
    QTest::newRow("by month: damage in the notes only")
        << true << QStringLiteral("NOTES") << QString() << true;
}

// A search that fails leaves nothing to print, whatever the last good
// search was; the file back in order, the next search prints what it shows.
void TestExpensesSearch::searchAfterTheFileWentBad() {
    QFETCH(bool, byMonth);
    QFETCH(QString, damaged);
    QFETCH(QString, message);
    QFETCH(bool, printable);
    std::unique_ptr<QDialog> window;
    if (byMonth) {
        window = std::make_unique<TForm15>();
    } else {
        window = std::make_unique<TForm14>();
    }
    const QString march[] = {byMonth ? "2007" : "01/03/2007", byMonth ? "2007" : "31/03/2007"};
    const QString april[] = {byMonth ? "2008" : "01/04/2007", byMonth ? "2008" : "30/04/2007"};
    search(*window, march[0], march[1]);
    QVERIFY(button(*window, "Button3")->isEnabled());
    connection_.close();
    const QByteArray intact = DamagePages(work_->databasePath(), damaged);
    QVERIFY(!intact.isEmpty());
    search(*window, april[0], april[1]);
    if (message.isEmpty()) {
        QCOMPARE(boxes_, QStringList());
    } else {
        QCOMPARE(boxes_.size(), 1);
        QVERIFY2(boxes_.first().contains(message), qPrintable(boxes_.first()));
    }
    QCOMPARE(button(*window, "Button3")->isEnabled(), printable);

    QFile file(work_->databasePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(intact), qint64(intact.size()));
    file.close();
    boxes_.clear();
    search(*window, april[0], april[1]);
    QCOMPARE(boxes_, QStringList());
    const QString text = printed(*window);
    QVERIFY2(text.contains(byMonth ? QStringLiteral("2008") : QStringLiteral("Απρίλιος")),
             qPrintable(text));
    QVERIFY(!text.contains(byMonth ? QStringLiteral("2007") : QStringLiteral("Ενοίκιο")));
}
