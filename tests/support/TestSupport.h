#pragma once

#include <QAbstractButton>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>
#include <source_location>

#include "store/Connection.h"
#include "widgets/Messages.h"

class QAbstractItemView;
class QMessageBox;

namespace store {
class Query;
}

namespace testsupport {

// A fresh temporary working directory holding a copy of the empty database;
// the process works in it until the object goes away. AppDirectory and
// AppConnectionString point at it.
class WorkDir {
public:
    explicit WorkDir(const QString& subfolder = QString());
    ~WorkDir();
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    QString path() const { return path_; }
    QString databasePath() const;
    QString connectionString() const;

private:
    QTemporaryDir root_;
    QString path_;
    QString previous_;
};

// A fresh working database with a connection of the test's own to it, for
// the tests that drive data sets and data-aware controls directly.
class TestDatabase {
public:
    // shareDenyNone: the connection lets others write while it is open.
    explicit TestDatabase(bool shareDenyNone = false);

    // Adds contacts by name alone.
    void addContacts(const QStringList& names);

    WorkDir work;
    store::Connection connection;
};

// Puts every seam the program offers its tests back to the state a test
// starts from: the real clock, the desktop's own tray, screen and address
// handler, the cheapest password hashing, and messages that fail the test
// (see FailOnMessages). Every test class calls it from init()
// and cleanup().
void ResetTestHooks();

// Makes every message box the program asks for fail the running test,
// naming its caption and text, and answers it with its Escape button, so
// that an unexpected box neither hangs the test nor passes unseen.
void FailOnMessages();

// Records every message the program asks for instead of showing it, and
// answers each with `answer`. Gone, it fails on messages again, so it lives
// within one test: a log kept in the test class is reset in cleanup().
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    QStringList texts() const;

    QList<widgets::MessageRequest> requests;
    widgets::Answer answer = widgets::Answer::Ok;
};

// The control of that name below parent. A missing control ends the test
// program naming it: no check can go on without the control.
QObject* FindObject(const QObject* parent, const QString& name, const QMetaObject& type);
template <typename T>
T* FindControl(const QObject* parent, const QString& name) {
    return static_cast<T*>(FindObject(parent, name, T::staticMetaObject));
}

// Clicks the named button below window with the mouse.
void Click(QWidget* window, const QString& buttonName);

// Clicks the first cell of a grid row.
void ClickRow(QAbstractItemView* grid, int row);

// Types text into a widget one character at a time (Greek included).
void TypeText(QWidget* widget, const QString& text);

// Empties the named line edit below window and types text into it.
void ReplaceText(QWidget* window, const QString& editName, const QString& text);

// Deletes the windows that closed themselves with deleteLater().
void FlushDeletes();

// Statements on the working database through a connection of their own, as
// another program would write and read it.
void ExecuteStored(const QString& sql, const QVariantList& parameters = {});
QVariant StoredValue(const QString& sql, const QVariantList& parameters = {});
QStringList StoredColumn(const QString& sql, const QVariantList& parameters = {});

// The environment of the built program run as a terminal command: no display
// (a command that reached for one would fail), its data in dataFolder.
QProcessEnvironment TerminalEnvironment(const QString& dataFolder);

// Opens query on connection with sql and its parameters.
void OpenQuery(store::Query& query, store::Connection& connection, const QString& sql,
               const QVariantList& parameters = {});

// The first column of every row a query returns.
QStringList ColumnValues(store::Connection& connection, const QString& sql,
                         const QVariantList& parameters = {});

// Runs a statement of one parameter once for every value.
void ExecuteForEach(store::Connection& connection, const QString& sql, const QStringList& values);

inline constexpr int kModalTimeoutMs = 5000;

// A modal window the test expects and answers. From construction on, a
// timer watches for the next modal window other than the one already up;
// when it comes, it is checked (a wrong one is closed) and then answered.
// verify(), run by the destructor if the test did not call it, waits for
// that and fails the running test, naming the expected window, when no
// window came within its time, a wrong one came, or the answer could not be
// given.
class ExpectedModal {
public:
    // Checks the window and answers it; returns why it failed, empty when
    // all went well.
    using Handler = std::function<QString(QWidget*)>;

    ExpectedModal(QString expected, Handler handler, int timeoutMs, std::source_location where);
    ~ExpectedModal();
    ExpectedModal(const ExpectedModal&) = delete;
    ExpectedModal& operator=(const ExpectedModal&) = delete;

    // True when the window came and was answered; otherwise the failure
    // has been reported.
    bool verify();

    struct Watch;

private:
    std::shared_ptr<Watch> watch_;
    std::source_location where_;
};

// Ends the running test function when the expected modal window did not
// come as expected; the failure already names it.
#define VERIFY_MODAL(expectation)       \
    do {                                \
        if (!(expectation)->verify()) { \
            return;                     \
        }                               \
    } while (false)

// The text of a PDF as a reader copies it out (pdftotext -layout); each page
// ends with a form feed. When KAVELO_TEST_REPORTS names a folder, the PDF is
// kept there under the test's name, for a person to look at.
QString PdfText(const QString& pdf);

// The next modal window must be named windowName (its objectName); answer
// acts in it.
[[nodiscard]] std::unique_ptr<ExpectedModal> AnswerNextModal(
    const QString& windowName, std::function<void(QWidget*)> answer,
    int timeoutMs = kModalTimeoutMs, std::source_location where = std::source_location::current());

// The same for a window class whose objectName is its class name; whatever
// answer leaves open is closed afterwards so that a failed check inside it
// cannot leave the test waiting.
template <typename W>
[[nodiscard]] std::unique_ptr<ExpectedModal> AnswerNextWindow(
    std::function<void(W*)> answer, int timeoutMs = kModalTimeoutMs,
    std::source_location where = std::source_location::current()) {
    return AnswerNextModal(
        QString::fromLatin1(W::staticMetaObject.className()),
        [answer](QWidget* modal) {
            answer(static_cast<W*>(modal));
            if (modal->isVisible()) {
                modal->close();
            }
        },
        timeoutMs, where);
}

// The next modal window must be a message box with this caption and text.
[[nodiscard]] std::unique_ptr<ExpectedModal> AnswerNextBox(
    const QString& caption, const QString& text, std::function<void(QMessageBox*)> answer,
    int timeoutMs = kModalTimeoutMs, std::source_location where = std::source_location::current());

// The next modal window must be a message box with this caption and text
// and a button labelled buttonText ("OK", "&Yes" ...), which is clicked.
[[nodiscard]] std::unique_ptr<ExpectedModal> ClickInNextBox(
    const QString& caption, const QString& text, const QString& buttonText,
    int timeoutMs = kModalTimeoutMs, std::source_location where = std::source_location::current());

}  // namespace testsupport
