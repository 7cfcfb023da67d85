// The message helpers as a person meets them: real message boxes with their
// captions, icons, buttons, line breaks, and the keys that answer them.
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "TestSupport.h"
#include "core/AppGlobals.h"
#include "widgets/Messages.h"

using widgets::Answer;

namespace {

enum class Helper { Notice, Confirm, Information, Warning, Error, DeleteRecord, StandardError };

// What a box showed, read while it was up.
struct SeenBox {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QStringList buttons;
    QString defaultButton;
    QString escapeButton;
};

Answer Show(Helper helper, const QString& text) {
    switch (helper) {
        case Helper::Notice:
            widgets::ShowNotice(nullptr, text);
            return Answer::Ok;
        case Helper::Confirm:
            return widgets::ShowConfirm(nullptr, text);
        case Helper::Information:
            widgets::ShowInformation(nullptr, text);
            return Answer::Ok;
        case Helper::Warning:
            widgets::ShowWarning(nullptr, text);
            return Answer::Ok;
        case Helper::Error:
            widgets::ShowErrorDialog(nullptr, text);
            return Answer::Ok;
        case Helper::DeleteRecord:
            return widgets::ConfirmDeleteRecord(nullptr) ? Answer::Ok : Answer::Cancel;
        case Helper::StandardError:
            widgets::ShowStandardError(nullptr, text);
            return Answer::Ok;
    }
    return Answer::None;
}

QString TextOf(QAbstractButton* button) {
    return button != nullptr ? button->text() : QString();
}

}  // namespace

class TestMessages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The boxes are real here: no responder stands in for them.
    void init() {
        testsupport::ResetTestHooks();
        widgets::SetMessageResponder(nullptr);
    }
    void cleanup() { testsupport::ResetTestHooks(); }

    void realBoxes_data();
    void realBoxes();
    void clickedButtonIsTheAnswer_data();
    void clickedButtonIsTheAnswer();
};

void TestMessages::realBoxes_data() {
    QTest::addColumn<Helper>("helper");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<QString>("escapeButton");
    QTest::addColumn<Answer>("answer");
    const QStringList ok{"OK"};
    const QStringList yesNo{"&Yes", "&No"};
    const QStringList okCancel{"OK", "Cancel"};
    const int none = QMessageBox::NoIcon;
    const int question = QMessageBox::Question;
    QTest::newRow("notice, Enter")
        << Helper::Notice << "Enter" << kApplicationTitle << none << ok << "OK"
        << "OK" << Answer::Ok;
    QTest::newRow("notice, Escape")
        << Helper::Notice << "Escape" << kApplicationTitle << none << ok << "OK"
        << "OK" << Answer::Ok;
    QTest::newRow("confirm, Enter is Yes") << Helper::Confirm << "Enter"
                                           << "Confirm" << question << yesNo << "&Yes"
                                           << "&No" << Answer::Yes;
    QTest::newRow("confirm, Escape is No") << Helper::Confirm << "Escape"
                                           << "Confirm" << question << yesNo << "&Yes"
                                           << "&No" << Answer::No;
    QTest::newRow("confirm, close box is No") << Helper::Confirm << "close"
                                              << "Confirm" << question << yesNo << "&Yes"
                                              << "&No" << Answer::No;
    QTest::newRow("information") << Helper::Information << "Enter"
                                 << "Information" << int(QMessageBox::Information) << ok << "OK"
                                 << "OK" << Answer::Ok;
    QTest::newRow("warning") << Helper::Warning << "Escape"
                             << "Warning" << int(QMessageBox::Warning) << ok << "OK"
                             << "OK" << Answer::Ok;
    QTest::newRow("error") << Helper::Error << "Enter"
                           << "Error" << int(QMessageBox::Critical) << ok << "OK"
                           << "OK" << Answer::Ok;
    QTest::newRow("delete record, Enter is OK") << Helper::DeleteRecord << "Enter"
                                                << "Confirm" << question << okCancel << "OK"
                                                << "Cancel" << Answer::Ok;
    QTest::newRow("delete record, Escape is Cancel") << Helper::DeleteRecord << "Escape"
                                                     << "Confirm" << question << okCancel << "OK"
                                                     << "Cancel" << Answer::Cancel;
    QTest::newRow("delete record, close box is Cancel") << Helper::DeleteRecord << "close"
                                                        << "Confirm" << question << okCancel << "OK"
                                                        << "Cancel" << Answer::Cancel;
    QTest::newRow("standard error box") << Helper::StandardError << "Enter" << kApplicationTitle
                                        << int(QMessageBox::Critical) << ok << "OK"
                                        << "OK" << Answer::Ok;
}

void TestMessages::realBoxes() {
    QFETCH(Helper, helper);
    QFETCH(QString, how);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QFETCH(QString, defaultButton);
    QFETCH(QString, escapeButton);
    QFETCH(Answer, answer);
    // Single carriage returns break lines; a double one leaves an empty line.
    const QString text = QStringLiteral("Πρώτη γραμμή.\rΔεύτερη <b>γραμμή</b>.\r\rΤέλος");
    const QString shownText =
        helper == Helper::DeleteRecord
            ? QStringLiteral("Delete record?")
            : QStringLiteral("Πρώτη γραμμή.\nΔεύτερη <b>γραμμή</b>.\n\nΤέλος");
    SeenBox seen;
    const auto expected =
        testsupport::AnswerNextBox(caption, shownText, [&seen, how](QMessageBox* shownBox) {
            seen.icon = shownBox->icon();
            seen.format = shownBox->textFormat();
            const QList<QAbstractButton*> shown = shownBox->buttons();
            for (QAbstractButton* button : shown) {
                seen.buttons.append(button->text());
            }
            seen.defaultButton = TextOf(shownBox->defaultButton());
            seen.escapeButton = TextOf(shownBox->escapeButton());
            if (how == QLatin1String("Enter")) {
                QTest::keyClick(shownBox, Qt::Key_Return);
            } else if (how == QLatin1String("Escape")) {
                QTest::keyClick(shownBox, Qt::Key_Escape);
            } else {
                shownBox->close();
            }
        });

    const Answer given = Show(helper, text);

    VERIFY_MODAL(expected);
    QCOMPARE(given, answer);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(seen.buttons, buttons);
    QCOMPARE(seen.defaultButton, defaultButton);
    QCOMPARE(seen.escapeButton, escapeButton);
    QCOMPARE(seen.format, Qt::PlainText);
}

void TestMessages::clickedButtonIsTheAnswer_data() {
    QTest::addColumn<Helper>("helper");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Answer>("answer");
    QTest::newRow("confirm, &Yes") << Helper::Confirm << "&Yes" << Answer::Yes;
    QTest::newRow("confirm, &No") << Helper::Confirm << "&No" << Answer::No;
    QTest::newRow("delete record, OK") << Helper::DeleteRecord << "OK" << Answer::Ok;
    QTest::newRow("delete record, Cancel") << Helper::DeleteRecord << "Cancel" << Answer::Cancel;
}

void TestMessages::clickedButtonIsTheAnswer() {
    QFETCH(Helper, helper);
    QFETCH(QString, button);
    QFETCH(Answer, answer);
    const bool deleting = helper == Helper::DeleteRecord;
    const QString text = deleting ? QStringLiteral("Delete record?") : QStringLiteral("Να γίνει;");
    const auto box = testsupport::ClickInNextBox(QStringLiteral("Confirm"), text, button);
    const Answer given = Show(helper, text);
    VERIFY_MODAL(box);
    QCOMPARE(given, answer);
}

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
