// The notebook and its printing against a real database file: when the
// print button may be pressed, what an unposted edit leaves behind, and the
// printed notes read back from the PDF the report writes.
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "TestSupport.h"
#include "app/Windows.h"
#include "core/AppGlobals.h"
#include "notebook/Unit6.h"
#include "notebook/Unit7.h"
#include "widgets/DBGrid.h"
#include "widgets/DBNavigator.h"

using testsupport::Click;
using testsupport::FindControl;
using widgets::Answer;
using widgets::NavigatorButton;

namespace {

const char kPdfVariable[] = "KAVELO_REPORT_PDF";

enum class Step { None, Insert, InsertTypePost, DeleteByNavigator, DeleteInGrid };

void AddNote(const QString& title, const QString& body) {
    testsupport::ExecuteStored(
        QStringLiteral("INSERT INTO NOTES (TITLOS, PERIGRAFH) VALUES (?, ?)"), {title, body});
}

int StoredNotes() {
    return testsupport::StoredValue(QStringLiteral("SELECT COUNT(*) FROM NOTES")).toInt();
}

QAbstractButton* NavigatorButtonOf(QWidget* window, NavigatorButton which) {
    return FindControl<widgets::DBNavigator>(window, QStringLiteral("DBNavigator1"))->button(which);
}

QString PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) {
        return QStringLiteral("pdftotext failed: ") +
               QString::fromUtf8(pdftotext.readAllStandardError());
    }
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// Where each text stands in the printed text; -1 when it is missing.
QList<qsizetype> Positions(const QString& printed, const QStringList& texts) {
    QList<qsizetype> positions;
    for (const QString& text : texts) {
        positions.append(printed.indexOf(text));
    }
    return positions;
}

}  // namespace

class TestNotebook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void printButtonFollowsTheNavigator_data();
    void printButtonFollowsTheNavigator();
    void unpostedEditsLeaveTheStoredNotes_data();
    void unpostedEditsLeaveTheStoredNotes();
    void printingFailsWithAMessageAndNoFile_data();
    void printingFailsWithAMessageAndNoFile();
    void printsTheNotesAskedFor_data();
    void printsTheNotesAskedFor();
    void printingTwiceGivesTheSameText();

private:
    // Opens the notebook, makes the note with this body current and prints
    // through the printing window's button.
    void printFromNotebook(const QString& currentBody, const QString& printButton);

    std::unique_ptr<testsupport::WorkDir> work_;
    std::unique_ptr<TForm7> printing_;
    QString pdf_;
};

void TestNotebook::init() {
    testsupport::ResetTestHooks();
    work_ = std::make_unique<testsupport::WorkDir>();
    printing_ = std::make_unique<TForm7>();
    RegisterLongLivedWindows({printing_.get(), nullptr, nullptr});
    pdf_ = work_->path() + QStringLiteral("/printed.pdf");
    qputenv(kPdfVariable, pdf_.toUtf8());
}

void TestNotebook::cleanup() {
    qunsetenv(kPdfVariable);
    RegisterLongLivedWindows({});
    printing_.reset();
    work_.reset();
    testsupport::ResetTestHooks();
}

void TestNotebook::printButtonFollowsTheNavigator_data() {
    QTest::addColumn<int>("storedBefore");
    QTest::addColumn<Step>("step");
    QTest::addColumn<Answer>("deleteAnswer");
    QTest::addColumn<bool>("printEnabled");
    QTest::addColumn<int>("storedAfter");
    QTest::newRow("an empty notebook") << 0 << Step::None << Answer::Ok << false << 0;
    QTest::newRow("insert alone") << 0 << Step::Insert << Answer::Ok << false << 0;
    QTest::newRow("the first note posted") << 0 << Step::InsertTypePost << Answer::Ok << true << 1;
    QTest::newRow("the last note deleted")
        << 1 << Step::DeleteByNavigator << Answer::Ok << false << 0;
    QTest::newRow("delete cancelled")
        << 1 << Step::DeleteByNavigator << Answer::Cancel << true << 1;
    // Only the navigator's actions update the button.
    QTest::newRow("Ctrl+Delete in the grid") << 1 << Step::DeleteInGrid << Answer::Ok << true << 0;
}

void TestNotebook::printButtonFollowsTheNavigator() {
    QFETCH(int, storedBefore);
    QFETCH(Step, step);
    QFETCH(Answer, deleteAnswer);
    QFETCH(bool, printEnabled);
    QFETCH(int, storedAfter);
    for (int i = 0; i < storedBefore; ++i) {
        AddNote(QStringLiteral("Σημείωση %1").arg(i), QStringLiteral("Κείμενο"));
    }
    testsupport::MessageLog messages;
    messages.answer = deleteAnswer;
    TForm6 notebook;
    notebook.show();
    auto* print = FindControl<QPushButton>(&notebook, QStringLiteral("Button2"));
    QCOMPARE(print->isEnabled(), storedBefore > 0);

    switch (step) {
        case Step::None:
            break;
        case Step::Insert:
            QTest::mouseClick(NavigatorButtonOf(&notebook, NavigatorButton::Insert),
                              Qt::LeftButton);
            break;
        case Step::InsertTypePost:
            QTest::mouseClick(NavigatorButtonOf(&notebook, NavigatorButton::Insert),
                              Qt::LeftButton);
            testsupport::TypeText(FindControl<QWidget>(&notebook, QStringLiteral("DBEdit1")),
                                  QStringLiteral("Ψώνια"));
            QTest::mouseClick(NavigatorButtonOf(&notebook, NavigatorButton::Post), Qt::LeftButton);
            break;
        case Step::DeleteByNavigator:
            QTest::mouseClick(NavigatorButtonOf(&notebook, NavigatorButton::Delete),
                              Qt::LeftButton);
            QCOMPARE(messages.texts(), QStringList{QStringLiteral("Delete record?")});
            break;
        case Step::DeleteInGrid: {
            auto* grid = FindControl<widgets::DBGrid>(&notebook, QStringLiteral("DBGrid1"));
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
            QCOMPARE(messages.texts(), QStringList{QStringLiteral("Delete record?")});
            break;
        }
    }
    QCOMPARE(print->isEnabled(), printEnabled);
    QCOMPARE(StoredNotes(), storedAfter);
}

void TestNotebook::unpostedEditsLeaveTheStoredNotes_data() {
    QTest::addColumn<bool>("insertFirst");
    QTest::addColumn<QString>("typed");
    QTest::newRow("typing, then Escape") << false << QStringLiteral(" αλλαγή");
    QTest::newRow("an untouched new note, then Escape") << true << QString();
    QTest::newRow("a typed new note, then Escape") << true << QStringLiteral("Νέα");
}

void TestNotebook::unpostedEditsLeaveTheStoredNotes() {
    QFETCH(bool, insertFirst);
    QFETCH(QString, typed);
    AddNote(QStringLiteral("Αποθηκευμένη"), QStringLiteral("Σώμα"));
    const QStringList before =
        testsupport::StoredColumn(QStringLiteral("SELECT TITLOS || '|' || PERIGRAFH FROM NOTES"));
    {
        TForm6 notebook;
        notebook.show();
        if (insertFirst) {
            QTest::mouseClick(NavigatorButtonOf(&notebook, NavigatorButton::Insert),
                              Qt::LeftButton);
        }
        testsupport::TypeText(FindControl<QWidget>(&notebook, QStringLiteral("DBEdit1")), typed);
        QTest::keyClick(&notebook, Qt::Key_Escape);
        QVERIFY(!notebook.isVisible());
    }
    QCOMPARE(
        testsupport::StoredColumn(QStringLiteral("SELECT TITLOS || '|' || PERIGRAFH FROM NOTES")),
        before);
}

void TestNotebook::printingFailsWithAMessageAndNoFile_data() {
    QTest::addColumn<QString>("layout");  // "-" removes the file
    QTest::addColumn<bool>("newNote");
    QTest::addColumn<QString>("printButton");
    QTest::addColumn<QString>("messageHolds");
    QTest::newRow("no layout file") << "-" << false << "Button1"
                                    << "NOTES.RAV";
    QTest::newRow("an empty layout file") << "" << false << "Button1"
                                          << "NOTES.RAV";
    QTest::newRow("a layout that is not JSON") << "{\"title\": " << false << "Button2"
                                               << "NOTES.RAV";
    QTest::newRow("a layout naming another connection")
        << R"({"title":"x","bands":[{"type":"table","connection":"RvDataSetConnection9",)"
           R"("columns":[{"field":"TITLOS","title":"Τίτλος"}]}]})"
        << false << "Button1"
        << "RvDataSetConnection9";
    QTest::newRow("the current note not stored yet") << QString() << true << "Button2"
                                                     << "δεν έχει αποθηκευτεί";
}

void TestNotebook::printingFailsWithAMessageAndNoFile() {
    QFETCH(QString, layout);
    QFETCH(bool, newNote);
    QFETCH(QString, printButton);
    QFETCH(QString, messageHolds);
    AddNote(QStringLiteral("Άλφα"), QStringLiteral("Πρώτο"));
    const QString layoutPath = QDir(work_->path()).filePath(QStringLiteral("NOTES.RAV"));
    if (layout == QLatin1String("-")) {
        QVERIFY(QFile::remove(layoutPath));
    } else if (!newNote) {
        QFile file(layoutPath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(layout.toUtf8());
    }
    testsupport::MessageLog messages;
    TForm6 notebook;
    notebook.show();
    if (newNote) {
        QTest::mouseClick(NavigatorButtonOf(&notebook, NavigatorButton::Insert), Qt::LeftButton);
    }
    const auto printed = testsupport::AnswerNextWindow<TForm7>([&printButton](TForm7* window) {
        Click(window, printButton);
        QVERIFY(window->isVisible());
    });
    Click(&notebook, QStringLiteral("Button2"));
    VERIFY_MODAL(printed);

    QCOMPARE(messages.requests.size(), 1);
    const QString text = messages.requests.first().text;
    QVERIFY2(text.contains(messageHolds), qPrintable(text));
    if (!newNote) {
        QVERIFY2(text.contains(layoutPath), qPrintable(text));
    }
    QVERIFY(!QFile::exists(pdf_));
    QVERIFY(notebook.isVisible());
}

void TestNotebook::printFromNotebook(const QString& currentBody, const QString& printButton) {
    TForm6 notebook;
    notebook.show();
    auto* grid = FindControl<widgets::DBGrid>(&notebook, QStringLiteral("DBGrid1"));
    auto* body = FindControl<QWidget>(&notebook, QStringLiteral("DBMemo1"));
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        testsupport::ClickRow(grid, row);
        if (body->property("plainText").toString() == currentBody) {
            break;
        }
    }
    QCOMPARE(body->property("plainText").toString(), currentBody);
    const auto printed = testsupport::AnswerNextWindow<TForm7>(
        [&printButton](TForm7* window) { Click(window, printButton); });
    Click(&notebook, QStringLiteral("Button2"));
    VERIFY_MODAL(printed);
}

void TestNotebook::printsTheNotesAskedFor_data() {
    QTest::addColumn<QString>("printButton");
    QTest::addColumn<QStringList>("printedInOrder");
    QTest::addColumn<QStringList>("notPrinted");
    QTest::newRow("all, in Greek title order")
        << "Button1"
        << QStringList{"άλφα", "Πρώτο κείμενο", "Βήτα", "Δεύτερο", "Βήτα", "Τρίτο", "ώρα", "Τέλος"}
        << QStringList{};
    QTest::newRow("the selected of two with one title")
        << "Button2" << QStringList{"Βήτα", "Τρίτο"}
        << QStringList{"Δεύτερο", "άλφα", "Πρώτο κείμενο", "Τέλος"};
}

void TestNotebook::printsTheNotesAskedFor() {
    QFETCH(QString, printButton);
    QFETCH(QStringList, printedInOrder);
    QFETCH(QStringList, notPrinted);
    AddNote(QStringLiteral("ώρα"), QStringLiteral("Τέλος"));
    AddNote(QStringLiteral("Βήτα"), QStringLiteral("Δεύτερο"));
    AddNote(QStringLiteral("άλφα"), QStringLiteral("Πρώτο κείμενο"));
    AddNote(QStringLiteral("Βήτα"), QStringLiteral("Τρίτο"));
    testsupport::MessageLog messages;
    printFromNotebook(QStringLiteral("Τρίτο"), printButton);
    QCOMPARE(messages.texts(), QStringList());

    const QString printed = PdfText(pdf_);
    qsizetype from = 0;
    for (const QString& text : printedInOrder) {
        const qsizetype at = printed.indexOf(text, from);
        QVERIFY2(at >= 0,
                 qPrintable(
                     QStringLiteral("\"%1\" missing or out of order in:\n%2").arg(text, printed)));
        from = at + text.size();
    }
    for (qsizetype at : Positions(printed, notPrinted)) {
        QVERIFY2(at < 0, qPrintable(printed));
    }
    QVERIFY(printed.contains(QStringLiteral("Σελίδα 1 από 1")));
}

void TestNotebook::printingTwiceGivesTheSameText() {
    AddNote(QStringLiteral("Άλφα"), QStringLiteral("Πρώτο"));
    AddNote(QStringLiteral("Βήτα"), QStringLiteral("Δεύτερο"));
    QStringList texts;
    const auto printed = testsupport::AnswerNextWindow<TForm7>([this, &texts](TForm7* window) {
        for (int i = 0; i < 2; ++i) {
            Click(window, QStringLiteral("Button1"));
            texts.append(PdfText(pdf_));
            QFile::remove(pdf_);
        }
    });
    printing_->ShowForNote(QString());
    VERIFY_MODAL(printed);
    QCOMPARE(texts.size(), 2);
    QVERIFY(texts.first().contains(QStringLiteral("Δεύτερο")));
    // The print time in the footer may move on by a minute between the two.
    const auto withoutFooter = [](QString text) {
        return text.left(text.indexOf(QStringLiteral("Σελίδα")));
    };
    QCOMPARE(withoutFooter(texts.at(1)), withoutFooter(texts.at(0)));
}

QTEST_MAIN(TestNotebook)
#include "tst_notebook.moc"
