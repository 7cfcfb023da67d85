// The program's Greek regional settings as the user sees them, on a machine
// whose own locale is not Greek (the test runner sets LC_ALL=C.UTF-8): month
// and day names, dates and the decimal comma in the calendar calculations, a
// sticky note and a record window.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <memory>

#include "TestSupport.h"
#include "calc/Unit65.h"
#include "core/AppGlobals.h"
#include "expenses/Unit13.h"
#include "sticky/Unit35.h"

using testsupport::FindControl;

namespace {

std::unique_ptr<QWidget> OpenWindow(const QString& window) {
    std::unique_ptr<QWidget> opened;
    if (window == QLatin1String("calculations")) {
        opened = std::make_unique<TForm65>();
    } else if (window == QLatin1String("sticky note")) {
        opened = std::make_unique<TForm35>();
    } else {
        opened = std::make_unique<TForm13>();
    }
    opened->show();
    return opened;
}

// The text a control shows: an item view's first row with its cells joined
// by "|".
QString ShownText(QObject* control) {
    if (auto* view = qobject_cast<QAbstractItemView*>(control)) {
        QStringList cells;
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            cells.append(view->model()->index(0, column).data().toString());
        }
        return cells.join(QLatin1Char('|'));
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        return edit->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
    return QStringLiteral("(a %1 shows no text)").arg(control->metaObject()->className());
}

}  // namespace

class TestDesktop : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testsupport::WorkDir> work_;

private slots:
    // Under a Greek machine locale every check would pass without the
    // program's own settings.
    void initTestCase() {
        QVERIFY2(QLocale::system().language() != QLocale::Greek,
                 "run under a locale that is not Greek, as ctest does (LC_ALL=C.UTF-8)");
    }

    void init() {
        testsupport::ResetTestHooks();
        work_ = std::make_unique<testsupport::WorkDir>();
        SetLocalNowForTests(QDateTime(QDate(2026, 12, 10), QTime(1, 38, 41)));
        testsupport::ExecuteStored(
            QStringLiteral("INSERT INTO EKSODA VALUES (?, ?, ?, ?)"),
            {QStringLiteral("2007-03-05"), 1250, 290, QStringLiteral("Ψώνια")});
    }

    void cleanup() {
        TForm35::CloseAll();
        testsupport::FlushDeletes();
        work_.reset();
        testsupport::ResetTestHooks();
    }

    void greekAsShown_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        QTest::newRow("calculations: the calendar's month") << "calculations"
                                                            << "qt_calendar_monthbutton"
                                                            << "Δεκέμβριος";
        QTest::newRow("calculations: the calendar's weekdays") << "calculations"
                                                               << "qt_calendar_calendarview"
                                                               << "|Δευ|Τρί|Τετ|Πέμ|Παρ|Σάβ|Κυρ";
        QTest::newRow("calculations: the start date") << "calculations"
                                                      << "Edit1"
                                                      << "10/12/26";
        QTest::newRow("sticky note: the creation line") << "sticky note"
                                                        << "Label1"
                                                        << "Δημιουργία 10/12/26 1:38:41 Π.Μ.";
        QTest::newRow("expenses register: the amount field") << "expenses register"
                                                             << "DBEdit2"
                                                             << "12,50";
        QTest::newRow("expenses register: the grid's row") << "expenses register"
                                                           << "DBGrid1"
                                                           << "Ψώνια|05/03/2007|12,50|2,90";
    }

    void greekAsShown() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        const std::unique_ptr<QWidget> opened = OpenWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(opened.get()));
        QObject* shownIn = FindControl<QWidget>(opened.get(), control);
        QCOMPARE(ShownText(shownIn), shown);
        // Shown whole: a label does not clip its text.
        if (auto* label = qobject_cast<QLabel*>(shownIn)) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width(),
                     qPrintable(QStringLiteral("%1 px of text in %2 px")
                                    .arg(label->fontMetrics().horizontalAdvance(shown))
                                    .arg(label->contentsRect().width())));
        }
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
