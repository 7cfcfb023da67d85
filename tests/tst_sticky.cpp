// Sticky notes: the creation text, the colour list and the independence and
// lifetime of several notes.
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include "TestSupport.h"
#include "core/AppGlobals.h"
#include "sticky/Unit35.h"

using namespace testsupport;

namespace {

QColor MemoColour(QWidget* note) {
    return FindControl<QPlainTextEdit>(note, "Memo1")->palette().color(QPalette::Base);
}

void ChooseColour(QWidget* note, const QString& name) {
    auto* list = FindControl<QComboBox>(note, "ComboBox1");
    list->setFocus();
    // Home, then down the list to the name, as a user picks with the keys.
    QTest::keyClick(list, Qt::Key_Home);
    while (list->currentText() != name && list->currentIndex() < list->count() - 1) {
        QTest::keyClick(list, Qt::Key_Down);
    }
}

QList<TForm35*> OpenNotes() {
    QList<TForm35*> notes;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (auto* note = qobject_cast<TForm35*>(window)) {
            notes.append(note);
        }
    }
    return notes;
}

}  // namespace

class TestSticky : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ResetTestHooks();
        SetLocalNowForTests(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3)));
    }

    void cleanup() {
        TForm35::CloseAll();
        FlushDeletes();
        ResetTestHooks();
    }

    void aNewNoteIsEmptyAndYellow() {
        auto* note = new TForm35;
        note->show();
        QVERIFY(QTest::qWaitForWindowExposed(note));
        QVERIFY(FindControl<QPlainTextEdit>(note, "Memo1")->toPlainText().isEmpty());
        QCOMPARE(MemoColour(note), QColor(255, 255, 0));
        QCOMPARE(FindControl<QComboBox>(note, "ComboBox1")->currentText(),
                 QStringLiteral("Yellow"));
        QCOMPARE(note->windowTitle(), QStringLiteral("Sticky Notes"));
        QCOMPARE(note->size(), QSize(287, 238));
        QVERIFY(note->windowFlags().testFlag(Qt::Tool));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY((note->frameGeometry().center() - screen.center()).manhattanLength() <= 4);
    }

    void colourNamesInOrder() {
        TForm35 note;
        auto* list = FindControl<QComboBox>(&note, "ComboBox1");
        QStringList names;
        for (int i = 0; i < list->count(); ++i) {
            names << list->itemText(i);
        }
        QCOMPARE(names, QStringList({"Silver", "White", "Lime", "Yellow", "Fuchsia", "Aqua",
                                     "MoneyGreen", "SkyBlue", "Cream"}));
        QVERIFY(!list->isEditable());
    }

    void creationText_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("text");
        QTest::newRow("morning") << QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3))
                                 << QStringLiteral("Δημιουργία 5/3/24 9:07:03 π.μ.");
        QTest::newRow("evening") << QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59))
                                 << QStringLiteral("Δημιουργία 31/12/24 11:59:59 μ.μ.");
        QTest::newRow("the widest: two-digit day, month and hour")
            << QDateTime(QDate(2024, 12, 28), QTime(12, 58, 58))
            << QStringLiteral("Δημιουργία 28/12/24 12:58:58 μ.μ.");
        QTest::newRow("midnight exactly")
            << QDateTime(QDate(2024, 3, 5), QTime(0, 0)) << QStringLiteral("Δημιουργία 5/3/24");
        QTest::newRow("a second after midnight")
            << QDateTime(QDate(2024, 3, 5), QTime(0, 0, 1))
            << QStringLiteral("Δημιουργία 5/3/24 12:00:01 π.μ.");
        QTest::newRow("a millisecond after midnight")
            << QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0, 1))
            << QStringLiteral("Δημιουργία 5/3/24 12:00:00 π.μ.");
    }

    void creationText() {
        QFETCH(QDateTime, moment);
        QFETCH(QString, text);
        SetLocalNowForTests(moment);
        TForm35 note;
        auto* label = FindControl<QLabel>(&note, "Label1");
        QCOMPARE(label->text().toLower(), text.toLower());
        // Shown whole in the label's fixed width.
        QCOMPARE(label->width(), 185);
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(QStringLiteral("%1 px of text")
                                .arg(label->fontMetrics().horizontalAdvance(label->text()))));
    }

    void timeFormatWithoutZone_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("withoutZone");
        QTest::newRow("the Greek long time") << "h:mm:ss AP t"
                                             << "h:mm:ss AP";
        QTest::newRow("a long zone name") << "HH:mm:ss tttt"
                                          << "HH:mm:ss";
        QTest::newRow("zone first") << "t HH:mm"
                                    << "HH:mm";
        QTest::newRow("zone without a blank") << "HH:mmt"
                                              << "HH:mm";
        QTest::newRow("no zone") << "HH:mm:ss"
                                 << "HH:mm:ss";
        QTest::newRow("quoted t stays") << "h 'at' mm t"
                                        << "h 'at' mm";
        QTest::newRow("quoted blank and t stay") << "HH:mm' t'"
                                                 << "HH:mm' t'";
        QTest::newRow("escaped quote inside quotes") << "h 'o''clock' t"
                                                     << "h 'o''clock'";
        QTest::newRow("unclosed quote runs to the end") << "HH:mm 'tt"
                                                        << "HH:mm 'tt";
    }

    void timeFormatWithoutZone() {
        QFETCH(QString, format);
        QFETCH(QString, withoutZone);
        QCOMPARE(TimeFormatWithoutZone(format), withoutZone);
    }

    void choosingAColour_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("Silver") << "Silver" << QColor(192, 192, 192);
        QTest::newRow("White") << "White" << QColor(255, 255, 255);
        QTest::newRow("Lime") << "Lime" << QColor(0, 255, 0);
        QTest::newRow("Fuchsia") << "Fuchsia" << QColor(255, 0, 255);
        QTest::newRow("Aqua") << "Aqua" << QColor(0, 255, 255);
        QTest::newRow("MoneyGreen") << "MoneyGreen" << QColor(192, 220, 192);
        QTest::newRow("SkyBlue") << "SkyBlue" << QColor(166, 202, 240);
        QTest::newRow("Cream") << "Cream" << QColor(255, 251, 240);
    }

    void choosingAColour() {
        QFETCH(QString, name);
        QFETCH(QColor, colour);
        auto* note = new TForm35;
        note->show();
        QVERIFY(QTest::qWaitForWindowExposed(note));
        auto* memo = FindControl<QPlainTextEdit>(note, "Memo1");
        const QColor textColour = memo->palette().color(QPalette::Text);
        const QColor barColour =
            FindControl<QFrame>(note, "Panel1")->palette().color(QPalette::Window);
        ChooseColour(note, name);
        QCOMPARE(FindControl<QComboBox>(note, "ComboBox1")->currentText(), name);
        QCOMPARE(MemoColour(note), colour);
        QCOMPARE(memo->palette().color(QPalette::Text), textColour);
        QCOMPARE(FindControl<QFrame>(note, "Panel1")->palette().color(QPalette::Window), barColour);
        ChooseColour(note, QStringLiteral("Yellow"));
        QCOMPARE(MemoColour(note), QColor(255, 255, 0));
    }

    void memoFollowsTheWindowSize() {
        auto* note = new TForm35;
        note->show();
        QVERIFY(QTest::qWaitForWindowExposed(note));
        note->resize(420, 330);
        QTRY_COMPARE(FindControl<QPlainTextEdit>(note, "Memo1")->width(), 420);
        auto* bar = FindControl<QFrame>(note, "Panel1");
        QCOMPARE(bar->height(), 22);
        QCOMPARE(bar->geometry().bottom(), note->height() - 1);
        QCOMPARE(FindControl<QPlainTextEdit>(note, "Memo1")->height(), 330 - 22);
        QCOMPARE(FindControl<QLabel>(note, "Label1")->width(), 185);
        QCOMPARE(FindControl<QComboBox>(note, "ComboBox1")->geometry().right(), bar->width() - 3);
    }

    void notesAreIndependent() {
        auto* first = new TForm35;
        auto* second = new TForm35;
        first->show();
        second->show();
        QVERIFY(QTest::qWaitForWindowExposed(second));
        testsupport::TypeText(FindControl<QPlainTextEdit>(first, "Memo1"), QStringLiteral("γάλα"));
        testsupport::TypeText(FindControl<QPlainTextEdit>(second, "Memo1"), QStringLiteral("ψωμί"));
        ChooseColour(second, QStringLiteral("Aqua"));
        QCOMPARE(FindControl<QPlainTextEdit>(first, "Memo1")->toPlainText(),
                 QStringLiteral("γάλα"));
        QCOMPARE(FindControl<QPlainTextEdit>(second, "Memo1")->toPlainText(),
                 QStringLiteral("ψωμί"));
        QCOMPARE(MemoColour(first), QColor(255, 255, 0));
        QCOMPARE(MemoColour(second), QColor(0, 255, 255));
    }

    void closingDestroysOnlyThatNote() {
        QPointer<TForm35> first = new TForm35;
        QPointer<TForm35> second = new TForm35;
        first->show();
        second->show();
        testsupport::TypeText(FindControl<QPlainTextEdit>(first, "Memo1"),
                              QStringLiteral("κείμενο"));
        QVERIFY(first->close());
        FlushDeletes();
        QVERIFY(first.isNull());
        QVERIFY(!second.isNull());
        QCOMPARE(OpenNotes().size(), 1);
    }

    void closeAllDestroysEveryNote() {
        QPointer<TForm35> notes[3] = {new TForm35, new TForm35, new TForm35};
        for (auto& note : notes) {
            note->show();
        }
        TForm35::CloseAll();
        FlushDeletes();
        for (auto& note : notes) {
            QVERIFY(note.isNull());
        }
        QVERIFY(OpenNotes().isEmpty());
    }

    void aNoteDoesNotKeepTheProgramRunning() {
        TForm35 note;
        QVERIFY(!note.testAttribute(Qt::WA_QuitOnClose));
    }
};

QTEST_MAIN(TestSticky)
#include "tst_sticky.moc"
