// The login window and the windows that set and change the password, driven
// through their controls against a real database file.
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include "TestSupport.h"
#include "access/PasswordHash.h"
#include "access/Unit165.h"
#include "access/Unit17.h"
#include "access/Unit27.h"
#include "core/AppGlobals.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/Messages.h"

using testsupport::FindControl;

namespace {

const QString kDenied = QStringLiteral("Δεν επιτρέπεται η πρόσβαση.");
const QString kError = QStringLiteral("Παρουσιάστηκε σφάλμα.");
const QString kSaved = QStringLiteral("Η καταχώρηση έχει πραγματοποιηθεί.");

QStringList StoredPasswords() {
    return testsupport::StoredColumn(QStringLiteral("select PASSWORD from ADMINISTRATOR_ACCOUNT"));
}

void StoreRow(const QString& value) {
    testsupport::ExecuteStored(
        QStringLiteral("insert into ADMINISTRATOR_ACCOUNT (PASSWORD) values (?)"), {value});
}

// Types the two entries of the set-password and change-password windows.
void TypeEntries(QWidget* window, const QString& first, const QString& second) {
    testsupport::ReplaceText(window, "Edit1", first);
    testsupport::ReplaceText(window, "Edit2", second);
}

}  // namespace

class TestAccess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void windowsLookAsDesigned_data();
    void windowsLookAsDesigned();
    void loginButtonFollowsTheTypedText_data();
    void loginButtonFollowsTheTypedText();
    void saveButtonNeedsTwoEqualCleanEntries_data();
    void saveButtonNeedsTwoEqualCleanEntries();

    void storedHashVerifiesThePasswordAndIsNotThePassword();
    void setPasswordStoresOneTrimmedHash();
    void setPasswordIgnoresEscape();
    void changePasswordReplacesEveryRow();
    void changePasswordWithoutRowsStoresNothing();
    void changePasswordLeavesWithoutStoring_data();
    void changePasswordLeavesWithoutStoring();
    void saveErrorKeepsTheWindowAndTheEntries_data();
    void saveErrorKeepsTheWindowAndTheEntries();

    void loginAttempts_data();
    void loginAttempts();
    void refusedAttemptsAreUnlimited();
    void loginErrorIsReportedAndTheWindowStays();
    void leavingTheLoginLeavesExitRequested_data();
    void leavingTheLoginLeavesExitRequested();

private:
    // Every message of these windows is a plain notice; another kind is
    // marked so that a comparison shows it.
    QStringList notices() const;

    std::unique_ptr<testsupport::WorkDir> workDir_;
    std::unique_ptr<testsupport::MessageLog> messages_;
};

void TestAccess::init() {
    testsupport::ResetTestHooks();
    workDir_ = std::make_unique<testsupport::WorkDir>();
    messages_ = std::make_unique<testsupport::MessageLog>();
}

void TestAccess::cleanup() {
    messages_.reset();
    workDir_.reset();
    testsupport::ResetTestHooks();
}

QStringList TestAccess::notices() const {
    QStringList texts;
    for (const widgets::MessageRequest& request : messages_->requests) {
        texts.append(request.caption == kApplicationTitle && request.buttons.size() == 1
                         ? request.text
                         : QStringLiteral("not a plain notice: ") + request.text);
    }
    return texts;
}

std::unique_ptr<QDialog> MakeWindow(const QString& windowClass) {
    if (windowClass == QLatin1String("TForm165")) {
        return std::make_unique<TForm165>();
    }
    if (windowClass == QLatin1String("TForm17")) {
        return std::make_unique<TForm17>();
    }
    return std::make_unique<TForm27>();
}

void TestAccess::windowsLookAsDesigned_data() {
    QTest::addColumn<QString>("windowClass");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("group");
    // Every label by name and text, then the edits in their tab order.
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("saveButton");
    QTest::addColumn<QString>("saveText");
    QTest::addColumn<QString>("exitText");
    const QString warning = QStringLiteral("Προσοχή. Έχoυν σημασία τα Πεζά / Κεφαλαία");
    QTest::newRow("login") << "TForm165"
                           << "Έλεγχος πρόσβασης" << QSize(299, 192) << "GroupBox2"
                           << QStringList{"Label8", warning, "Label6", "Password:", "Label7", "*"}
                           << QStringList{"Edit3"} << "Button4"
                           << "Είσοδος"
                           << "Έ&ξοδος";
    QTest::newRow("set password")
        << "TForm17"
        << "Καθορισμός του password εισόδου" << QSize(289, 162) << "GroupBox1"
        << QStringList{"Label5", warning,  "Label1",       "Όρισε Password:", "Label2",
                       "*",      "Label4", "Επιβεβαίωση:", "Label3",          "*"}
        << QStringList{"Edit1", "Edit2"} << "Button1"
        << "Καταχώρηση" << QString();
    QTest::newRow("change password")
        << "TForm27"
        << "Αλλαγή του password εισόδου" << QSize(289, 189) << "GroupBox1"
        << QStringList{"Label5", warning,  "Label1",       "Νέο Password:", "Label2",
                       "*",      "Label4", "Επιβεβαίωση:", "Label3",        "*"}
        << QStringList{"Edit1", "Edit2"} << "Button1"
        << "Καταχώρηση"
        << "Έξοδος";
}

// Caption, size, frame, texts, the red marks, the hidden entries, the first
// focus and the tab order: what a person checks by eye, checked here.
void TestAccess::windowsLookAsDesigned() {
    QFETCH(QString, windowClass);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QString, group);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, edits);
    QFETCH(QString, saveButton);
    QFETCH(QString, saveText);
    QFETCH(QString, exitText);
    const std::unique_ptr<QDialog> window = MakeWindow(windowClass);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(window->objectName(), windowClass);
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(window->size(), size);
    QCOMPARE(window->palette().color(QPalette::Window), QColor(255, 251, 240));
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    auto* box = FindControl<QGroupBox>(window.get(), group);
    QCOMPARE(box->title(), caption);

    for (int i = 0; i < labels.size(); i += 2) {
        auto* label = FindControl<QLabel>(box, labels.at(i));
        QCOMPARE(label->text(), labels.at(i + 1));
        const bool red = label->text() == QLatin1String("*") || i == 0;
        QCOMPARE(label->palette().color(QPalette::WindowText) == QColor(Qt::red), red);
    }
    if (windowClass == QLatin1String("TForm165")) {
        QVERIFY(FindControl<QLabel>(box, "Label7")->font().bold());
    }

    auto* save = FindControl<QPushButton>(box, saveButton);
    QCOMPARE(save->text(), saveText);
    QVERIFY(save->isDefault());
    QVERIFY(!save->isEnabled());
    for (const QString& name : edits) {
        auto* edit = FindControl<QLineEdit>(box, name);
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit),
                 int('*'));
        QVERIFY(edit->text().isEmpty());
    }
    QCOMPARE(QApplication::focusWidget(), FindControl<QLineEdit>(box, edits.first()));
    for (int i = 1; i < edits.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), FindControl<QLineEdit>(box, edits.at(i)));
    }

    auto* exit = window->findChild<QPushButton*>(QStringLiteral("Button2"));
    QCOMPARE(exit != nullptr, !exitText.isEmpty());
    if (exit != nullptr) {
        QCOMPARE(exit->text(), exitText);
        QCOMPARE(exit->parentWidget(), window.get());
        QVERIFY(!(exit->focusPolicy() & Qt::TabFocus));
        QVERIFY(!exit->isDefault());
        QVERIFY(exit->geometry().top() > box->geometry().bottom());
        QVERIFY(exit->geometry().right() <= window->width());
        QVERIFY(exit->geometry().left() > window->width() / 2);
    }
}

void TestAccess::loginButtonFollowsTheTypedText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("only blanks") << QStringLiteral("   \t ") << false;
    QTest::newRow("one character") << QStringLiteral("x") << true;
    QTest::newRow("blanks around") << QStringLiteral("  Secret1 ") << true;
    QTest::newRow("greek with inner blank") << QStringLiteral("Κωδικός μου") << true;
    const QString rejected = QStringLiteral("'\"&*-=!#$[]?%+\\|@_~`(){}<>.;^:,");
    for (const QChar ch : rejected) {
        QTest::newRow(qPrintable(QStringLiteral("special U+%1").arg(ch.unicode(), 4, 16)))
            << (QStringLiteral("ab") + ch + QStringLiteral("cd")) << false;
    }
}

void TestAccess::loginButtonFollowsTheTypedText() {
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    TForm165 window;
    window.show();
    auto* button = FindControl<QPushButton>(&window, "Button4");
    QVERIFY(!button->isEnabled());
    testsupport::TypeText(FindControl<QLineEdit>(&window, "Edit3"), text);
    QCOMPARE(button->isEnabled(), enabled);
    FindControl<QLineEdit>(&window, "Edit3")->clear();
    QVERIFY(!button->isEnabled());
}

void TestAccess::saveButtonNeedsTwoEqualCleanEntries_data() {
    QTest::addColumn<QString>("windowClass");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("enabled");
    for (const QString& windowClass : {QStringLiteral("TForm17"), QStringLiteral("TForm27")}) {
        const auto row = [&windowClass](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(windowClass + QLatin1Char(' ') + QLatin1String(name)));
        };
        row("both empty") << windowClass << QString() << QString() << false;
        row("second empty") << windowClass << QStringLiteral("abc") << QString() << false;
        row("equal") << windowClass << QStringLiteral("abc") << QStringLiteral("abc") << true;
        row("one character") << windowClass << QStringLiteral("7") << QStringLiteral("7") << true;
        row("letter case differs")
            << windowClass << QStringLiteral("Abc") << QStringLiteral("abc") << false;
        row("greek letter case differs")
            << windowClass << QStringLiteral("Κωδικός") << QStringLiteral("κωδικός") << false;
        row("only blanks differ") << windowClass << QStringLiteral("  abc")
                                  << QStringLiteral("abc\t") << true;
        row("inner blanks differ")
            << windowClass << QStringLiteral("a bc") << QStringLiteral("ab c") << false;
        row("only blanks") << windowClass << QStringLiteral("  ") << QStringLiteral("  ") << false;
        row("special in both") << windowClass << QStringLiteral("ab;c") << QStringLiteral("ab;c")
                               << false;
        row("apostrophe in both") << windowClass << QStringLiteral("it's") << QStringLiteral("it's")
                                  << false;
    }
}

void TestAccess::saveButtonNeedsTwoEqualCleanEntries() {
    QFETCH(QString, windowClass);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, enabled);
    const std::unique_ptr<QDialog> window = MakeWindow(windowClass);
    window->show();
    auto* button = FindControl<QPushButton>(window.get(), "Button1");
    QVERIFY(!button->isEnabled());
    TypeEntries(window.get(), first, second);
    QCOMPARE(button->isEnabled(), enabled);
    // The rule is symmetric: typing the entries the other way round agrees.
    TypeEntries(window.get(), second, first);
    QCOMPARE(button->isEnabled(), enabled);
}

void TestAccess::storedHashVerifiesThePasswordAndIsNotThePassword() {
    const QString hash = accesscontrol::HashPassword(QStringLiteral("Κωδικός 1"));
    QVERIFY(hash.startsWith(QLatin1String("$argon2id$")));
    QVERIFY(!hash.contains(QStringLiteral("Κωδικός")));
    QVERIFY(accesscontrol::PasswordMatches(hash, QStringLiteral("Κωδικός 1")));
    QVERIFY(!accesscontrol::PasswordMatches(hash, QStringLiteral("κωδικός 1")));
    QVERIFY(!accesscontrol::PasswordMatches(hash, QStringLiteral("Κωδικός 1 ")));
    QVERIFY(
        !accesscontrol::PasswordMatches(QStringLiteral("Κωδικός 1"), QStringLiteral("Κωδικός 1")));
    QVERIFY(!accesscontrol::PasswordMatches(QString(), QString()));
    // A fresh salt each time: the same password never gives the same string.
    QVERIFY(accesscontrol::HashPassword(QStringLiteral("Κωδικός 1")) != hash);
}

void TestAccess::setPasswordStoresOneTrimmedHash() {
    TForm17 window;
    window.show();
    TypeEntries(&window, QStringLiteral("  Secret1 "), QStringLiteral("Secret1\t"));
    testsupport::Click(&window, "Button1");
    QCOMPARE(notices(), QStringList{kSaved});
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    const QStringList stored = StoredPasswords();
    QCOMPARE(stored.size(), 1);
    QVERIFY(!stored.at(0).contains(QLatin1String("Secret1")));
    QVERIFY(accesscontrol::PasswordMatches(stored.at(0), QStringLiteral("Secret1")));
    QVERIFY(!accesscontrol::PasswordMatches(stored.at(0), QStringLiteral("  Secret1 ")));
}

void TestAccess::setPasswordIgnoresEscape() {
    TForm17 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(FindControl<QLineEdit>(&window, "Edit1"), Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QVERIFY(StoredPasswords().isEmpty());
}

void TestAccess::changePasswordReplacesEveryRow() {
    StoreRow(accesscontrol::HashPassword(QStringLiteral("old one")));
    StoreRow(accesscontrol::HashPassword(QStringLiteral("old two")));
    TForm27 window;
    window.show();
    TypeEntries(&window, QStringLiteral("Νέος 2"), QStringLiteral("Νέος 2"));
    QTest::keyClick(FindControl<QLineEdit>(&window, "Edit2"), Qt::Key_Return);
    QCOMPARE(notices(), QStringList{kSaved});
    QVERIFY(!window.isVisible());
    const QStringList stored = StoredPasswords();
    QCOMPARE(stored.size(), 2);
    for (const QString& hash : stored) {
        QVERIFY(accesscontrol::PasswordMatches(hash, QStringLiteral("Νέος 2")));
        QVERIFY(!accesscontrol::PasswordMatches(hash, QStringLiteral("old one")));
    }
}

void TestAccess::changePasswordWithoutRowsStoresNothing() {
    TForm27 window;
    window.show();
    TypeEntries(&window, QStringLiteral("abc"), QStringLiteral("abc"));
    testsupport::Click(&window, "Button1");
    QCOMPARE(notices(), QStringList{kSaved});
    QVERIFY(StoredPasswords().isEmpty());
}

void TestAccess::changePasswordLeavesWithoutStoring_data() {
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Έξοδος") << false;
    QTest::newRow("Escape") << true;
}

void TestAccess::changePasswordLeavesWithoutStoring() {
    QFETCH(bool, byEscape);
    const QString oldHash = accesscontrol::HashPassword(QStringLiteral("old"));
    StoreRow(oldHash);
    TForm27 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    TypeEntries(&window, QStringLiteral("new"), QStringLiteral("new"));
    if (byEscape) {
        QTest::keyClick(FindControl<QLineEdit>(&window, "Edit2"), Qt::Key_Escape);
    } else {
        testsupport::Click(&window, "Button2");
    }
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QVERIFY(notices().isEmpty());
    QCOMPARE(StoredPasswords(), QStringList{oldHash});
}

void TestAccess::saveErrorKeepsTheWindowAndTheEntries_data() {
    QTest::addColumn<QString>("windowClass");
    QTest::newRow("TForm17") << QStringLiteral("TForm17");
    QTest::newRow("TForm27") << QStringLiteral("TForm27");
}

void TestAccess::saveErrorKeepsTheWindowAndTheEntries() {
    QFETCH(QString, windowClass);
    const std::unique_ptr<QDialog> window = MakeWindow(windowClass);
    window->show();
    TypeEntries(window.get(), QStringLiteral("abc"), QStringLiteral("abc "));
    store::DiscardIdleHandles();
    QVERIFY(QFile::remove(workDir_->databasePath()));
    QTest::mouseClick(FindControl<QPushButton>(window.get(), "Button1"), Qt::LeftButton);
    QCOMPARE(notices(), QStringList{kError});
    QVERIFY(window->isVisible());
    QCOMPARE(FindControl<QLineEdit>(window.get(), "Edit1")->text(), QStringLiteral("abc"));
    QCOMPARE(FindControl<QLineEdit>(window.get(), "Edit2")->text(), QStringLiteral("abc "));
    QVERIFY(FindControl<QPushButton>(window.get(), "Button1")->isEnabled());
    QVERIFY(!QFile::exists(workDir_->databasePath()));
}

void TestAccess::loginAttempts_data() {
    QTest::addColumn<QStringList>("storedRows");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    const QString hash = accesscontrol::HashPassword(QStringLiteral("Secret1"));
    const QString otherHash = accesscontrol::HashPassword(QStringLiteral("Other"));
    QTest::newRow("right") << QStringList{hash} << QStringLiteral("Secret1") << true;
    QTest::newRow("right with blanks around")
        << QStringList{hash} << QStringLiteral(" \tSecret1  ") << true;
    QTest::newRow("other letter case") << QStringList{hash} << QStringLiteral("secret1") << false;
    QTest::newRow("prefix") << QStringList{hash} << QStringLiteral("Secret") << false;
    QTest::newRow("inner blank") << QStringList{hash} << QStringLiteral("Secr et1") << false;
    QTest::newRow("matches the second row")
        << QStringList{otherHash, hash} << QStringLiteral("Secret1") << true;
    QTest::newRow("no row") << QStringList{} << QStringLiteral("Secret1") << false;
    QTest::newRow("a plain-text row is no password")
        << QStringList{QStringLiteral("Secret1")} << QStringLiteral("Secret1") << false;
}

void TestAccess::loginAttempts() {
    QFETCH(QStringList, storedRows);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    for (const QString& row : storedRows) {
        StoreRow(row);
    }
    app().ExitMarker = kExitRequested;
    TForm165 window;
    window.show();
    testsupport::ReplaceText(&window, "Edit3", typed);
    QTest::keyClick(FindControl<QLineEdit>(&window, "Edit3"), Qt::Key_Return);
    if (accepted) {
        QVERIFY(notices().isEmpty());
        QVERIFY(!window.isVisible());
        QCOMPARE(app().ExitMarker, kLoginAccepted);
    } else {
        QCOMPARE(notices(), QStringList{kDenied});
        QVERIFY(window.isVisible());
        QCOMPARE(app().ExitMarker, kExitRequested);
        QVERIFY(FindControl<QLineEdit>(&window, "Edit3")->text().isEmpty());
        QVERIFY(!FindControl<QPushButton>(&window, "Button4")->isEnabled());
    }
}

void TestAccess::refusedAttemptsAreUnlimited() {
    StoreRow(accesscontrol::HashPassword(QStringLiteral("Secret1")));
    TForm165 window;
    window.show();
    for (int attempt = 0; attempt < 6; ++attempt) {
        testsupport::ReplaceText(&window, "Edit3", QStringLiteral("wrong%1").arg(attempt));
        testsupport::Click(&window, "Button4");
    }
    QCOMPARE(notices().size(), 6);
    QVERIFY(window.isVisible());
    testsupport::ReplaceText(&window, "Edit3", QStringLiteral("Secret1"));
    testsupport::Click(&window, "Button4");
    QVERIFY(!window.isVisible());
    QCOMPARE(app().ExitMarker, kLoginAccepted);
}

void TestAccess::loginErrorIsReportedAndTheWindowStays() {
    TForm165 window;
    window.show();
    store::DiscardIdleHandles();
    QVERIFY(QFile::remove(workDir_->databasePath()));
    testsupport::ReplaceText(&window, "Edit3", QStringLiteral("Secret1"));
    testsupport::Click(&window, "Button4");
    QCOMPARE(notices(), QStringList{kError});
    QVERIFY(window.isVisible());
    QCOMPARE(app().ExitMarker, kExitRequested);
    QVERIFY(FindControl<QLineEdit>(&window, "Edit3")->text().isEmpty());
    QVERIFY(!QFile::exists(workDir_->databasePath()));
}

void TestAccess::leavingTheLoginLeavesExitRequested_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Έξοδος") << QStringLiteral("button");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("Alt+ξ") << QStringLiteral("accelerator");
    QTest::newRow("close command after a refusal") << QStringLiteral("close");
}

void TestAccess::leavingTheLoginLeavesExitRequested() {
    QFETCH(QString, how);
    StoreRow(accesscontrol::HashPassword(QStringLiteral("Secret1")));
    TForm165 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    testsupport::ReplaceText(&window, "Edit3", QStringLiteral("nope"));
    testsupport::Click(&window, "Button4");
    QCOMPARE(app().ExitMarker, kExitRequested);
    if (how != QLatin1String("close")) {
        // Έξοδος writes the stop itself, whatever the marker held before.
        app().ExitMarker = kLoginAccepted;
    }
    if (how == QLatin1String("button")) {
        testsupport::Click(&window, "Button2");
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(FindControl<QLineEdit>(&window, "Edit3"), Qt::Key_Escape);
    } else if (how == QLatin1String("accelerator")) {
        QTest::sendKeyEvent(QTest::Click, FindControl<QLineEdit>(&window, "Edit3"),
                            Qt::Key(QChar(u'Ξ').unicode()), QStringLiteral("ξ"), Qt::AltModifier);
    } else {
        window.close();
    }
    // An accelerator presses its button with a short animation.
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(app().ExitMarker, kExitRequested);
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
