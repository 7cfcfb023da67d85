#include "TestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "access/PasswordHash.h"
#include "app/DesktopServices.h"
#include "app/ProductInfo.h"
#include "app/ScreenResolution.h"
#include "core/AppGlobals.h"
#include "core/ProgramLocale.h"
#include "reports/ReportProgress.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "widgets/WindowStyle.h"

namespace testsupport {

WorkDir::WorkDir(const QString& subfolder) : previous_(QDir::currentPath()) {
    path_ = root_.path();
    if (!subfolder.isEmpty()) {
        path_ += QLatin1Char('/') + subfolder;
        QDir().mkpath(path_);
    }
    QFile::copy(QStringLiteral(ORGANIZER_EMPTY_DB), databasePath());
    QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    const QDir built = QFileInfo(QStringLiteral(ORGANIZER_EMPTY_DB)).dir();
    for (const QString& layout : built.entryList({QStringLiteral("*.RAV")}, QDir::Files)) {
        QFile::copy(built.filePath(layout), path_ + QLatin1Char('/') + layout);
    }
    QDir::setCurrent(path_);
    app().AppDirectory = store::CurrentAppDirectory();
    app().AppConnectionString = store::BuildConnectionString(app().AppDirectory);
    app().ExitMarker.clear();
}

WorkDir::~WorkDir() {
    QDir::setCurrent(previous_);
}

QString WorkDir::databasePath() const {
    return path_ + QStringLiteral("/data.mdb");
}

QString WorkDir::connectionString() const {
    return store::BuildConnectionString(path_);
}

TestDatabase::TestDatabase(bool shareDenyNone) {
    connection.setShareDenyNone(shareDenyNone);
    connection.reopen(work.connectionString());
}

void TestDatabase::addContacts(const QStringList& names) {
    ExecuteForEach(connection,
                   QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO) VALUES (?)"),
                   names);
}

QString PdfText(const QString& pdf) {
    const QString keep = qEnvironmentVariable("KAVELO_TEST_REPORTS");
    if (!keep.isEmpty()) {
        QString name = QLatin1String(QTest::currentTestFunction());
        if (QTest::currentDataTag() != nullptr) {
            name += QLatin1Char('-') + QLatin1String(QTest::currentDataTag());
        }
        QFile::copy(pdf, keep + QLatin1Char('/') + name + QStringLiteral(".pdf"));
    }
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qWarning() << "pdftotext failed:" << process.readAllStandardError();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

void ResetTestHooks() {
    SetLocalNowForTests(QDateTime());
    SetSystemTrayAvailableForTests(std::nullopt);
    SetDisplayAccess({});
    product::SetAddressOpener({});
    // The interactive hash costs about 140 ms; no test is about it.
    accesscontrol::SetPasswordHashCost(accesscontrol::HashCost::Minimum);
    reports::SetProgressDelayForTests(std::nullopt);
    FailOnMessages();
}

void FailOnMessages() {
    widgets::SetMessageResponder([](const widgets::MessageRequest& request) {
        const QString message = QStringLiteral("unexpected message box \"%1\": \"%2\"")
                                    .arg(request.caption, request.text);
        if (QTest::currentTestFunction() == nullptr) {
            qFatal("%s outside a test function", qPrintable(message));
        }
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        return request.escapeAnswer;
    });
}

MessageLog::MessageLog() {
    widgets::SetMessageResponder([this](const widgets::MessageRequest& request) {
        requests.append(request);
        return answer;
    });
}

MessageLog::~MessageLog() {
    FailOnMessages();
}

QStringList MessageLog::texts() const {
    QStringList shown;
    for (const widgets::MessageRequest& request : requests) {
        shown.append(request.text);
    }
    return shown;
}

QObject* FindObject(const QObject* parent, const QString& name, const QMetaObject& type) {
    const QList<QObject*> named = parent->findChildren<QObject*>(name);
    for (QObject* object : named) {
        if (object->metaObject()->inherits(&type)) {
            return object;
        }
    }
    qFatal("%s has no %s named %s", qPrintable(parent->objectName()), type.className(),
           qPrintable(name));
}

void Click(QWidget* window, const QString& buttonName) {
    QTest::mouseClick(FindControl<QAbstractButton>(window, buttonName), Qt::LeftButton);
}

void ClickRow(QAbstractItemView* grid, int row) {
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

void TypeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

void ReplaceText(QWidget* window, const QString& editName, const QString& text) {
    auto* edit = FindControl<QLineEdit>(window, editName);
    edit->clear();
    TypeText(edit, text);
}

void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

std::unique_ptr<store::Connection> StoredConnection() {
    auto connection = std::make_unique<store::Connection>();
    connection->reopen(app().AppConnectionString);
    return connection;
}

}  // namespace

void ExecuteStored(const QString& sql, const QVariantList& parameters) {
    store::Execute(*StoredConnection(), sql, parameters);
}

QVariant StoredValue(const QString& sql, const QVariantList& parameters) {
    return store::ScalarQuery(*StoredConnection(), sql, parameters);
}

QStringList StoredColumn(const QString& sql, const QVariantList& parameters) {
    return ColumnValues(*StoredConnection(), sql, parameters);
}

void OpenQuery(store::Query& query, store::Connection& connection, const QString& sql,
               const QVariantList& parameters) {
    query.setConnection(&connection);
    query.setSql(sql);
    query.setParameters(parameters);
    query.open();
}

QStringList ColumnValues(store::Connection& connection, const QString& sql,
                         const QVariantList& parameters) {
    store::Query query;
    OpenQuery(query, connection, sql, parameters);
    QStringList values;
    for (query.first(); !query.eof(); query.next()) {
        values.append(query.asString(0));
    }
    return values;
}

void ExecuteForEach(store::Connection& connection, const QString& sql, const QStringList& values) {
    for (const QString& value : values) {
        store::Execute(connection, sql, {value});
    }
}

// What the watching timer and the expectation share: the timer may outlive
// a test that left early, and the expectation may outlive the timer.
struct ExpectedModal::Watch {
    QString expected;
    Handler handler;
    int timeoutMs = 0;
    QElapsedTimer clock;
    QPointer<QWidget> alreadyUp;
    QPointer<QTimer> timer;
    bool came = false;
    QString failure;
};

ExpectedModal::ExpectedModal(QString expected, Handler handler, int timeoutMs,
                             std::source_location where)
    : watch_(std::make_shared<Watch>()), where_(where) {
    watch_->expected = std::move(expected);
    watch_->handler = std::move(handler);
    watch_->timeoutMs = timeoutMs;
    watch_->alreadyUp = QApplication::activeModalWidget();
    watch_->clock.start();
    auto* timer = new QTimer(qApp);
    watch_->timer = timer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [watch = watch_, timer] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool fresh = modal != nullptr && modal != watch->alreadyUp;
        if (!fresh && watch->clock.elapsed() < watch->timeoutMs) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (fresh) {
            watch->came = true;
            watch->failure = watch->handler(modal);
        }
    });
    timer->start();
}

ExpectedModal::~ExpectedModal() {
    static_cast<void>(verify());
}

bool ExpectedModal::verify() {
    if (!watch_->timer.isNull() && !QTest::currentTestFailed()) {
        // What the wait ends with is read from the watch below.
        static_cast<void>(
            QTest::qWaitFor([this] { return watch_->timer.isNull() || !watch_->timer->isActive(); },
                            watch_->timeoutMs + 1000));
    }
    if (!watch_->timer.isNull()) {
        watch_->timer->stop();
        watch_->timer->deleteLater();
    }
    QString failure;
    if (!watch_->came) {
        failure = QStringLiteral("expected %1, but none came within %2 ms")
                      .arg(watch_->expected)
                      .arg(watch_->timeoutMs);
    } else if (!watch_->failure.isEmpty()) {
        failure = QStringLiteral("expected %1, but %2").arg(watch_->expected, watch_->failure);
    }
    // Reported once, and not on top of a failure that already ended the test.
    watch_->came = true;
    watch_->failure.clear();
    if (failure.isEmpty()) {
        return true;
    }
    if (!QTest::currentTestFailed()) {
        QTest::qFail(qPrintable(failure), where_.file_name(), int(where_.line()));
    }
    return false;
}

namespace {

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString DescribeBox(const QString& caption, const QString& text) {
    return QStringLiteral("the box %1 saying %2").arg(Quoted(caption), Quoted(text));
}

// Closes a modal window that is not the one a test waits for, so that the
// test can go on to report it.
QString Refuse(QWidget* modal, const QString& what) {
    modal->close();
    return what + QStringLiteral(" came");
}

}  // namespace

std::unique_ptr<ExpectedModal> AnswerNextModal(const QString& windowName,
                                               std::function<void(QWidget*)> answer, int timeoutMs,
                                               std::source_location where) {
    const auto handler = [windowName, answer](QWidget* modal) {
        if (modal->objectName() != windowName) {
            return Refuse(modal, QStringLiteral("the window %1").arg(Quoted(modal->objectName())));
        }
        answer(modal);
        return QString();
    };
    return std::make_unique<ExpectedModal>(QStringLiteral("the window %1").arg(Quoted(windowName)),
                                           handler, timeoutMs, where);
}

namespace {

// Checks that a modal window is the message box named by caption and text
// before answer acts in it.
ExpectedModal::Handler BoxHandler(const QString& caption, const QString& text,
                                  std::function<QString(QMessageBox*)> answer) {
    return [caption, text, answer](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            return Refuse(modal, QStringLiteral("the window %1").arg(Quoted(modal->objectName())));
        }
        if (box->windowTitle() != caption || box->text() != text) {
            return Refuse(modal, DescribeBox(box->windowTitle(), box->text()));
        }
        return answer(box);
    };
}

}  // namespace

std::unique_ptr<ExpectedModal> AnswerNextBox(const QString& caption, const QString& text,
                                             std::function<void(QMessageBox*)> answer,
                                             int timeoutMs, std::source_location where) {
    const auto answerWithoutFault = [answer](QMessageBox* box) {
        answer(box);
        return QString();
    };
    return std::make_unique<ExpectedModal>(DescribeBox(caption, text),
                                           BoxHandler(caption, text, answerWithoutFault), timeoutMs,
                                           where);
}

std::unique_ptr<ExpectedModal> ClickInNextBox(const QString& caption, const QString& text,
                                              const QString& buttonText, int timeoutMs,
                                              std::source_location where) {
    const auto click = [buttonText](QMessageBox* box) {
        QStringList labels;
        const QList<QAbstractButton*> buttons = box->buttons();
        for (QAbstractButton* button : buttons) {
            if (button->text() == buttonText) {
                QTest::mouseClick(button, Qt::LeftButton);
                return QString();
            }
            labels.append(Quoted(button->text()));
        }
        return Refuse(box, QStringLiteral("a box with the buttons %1").arg(labels.join(", ")));
    };
    return std::make_unique<ExpectedModal>(
        DescribeBox(caption, text) + QStringLiteral(" with the button ") + Quoted(buttonText),
        BoxHandler(caption, text, click), timeoutMs, where);
}

QProcessEnvironment TerminalEnvironment(const QString& dataFolder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.insert(QStringLiteral("KAVELO_DATA_DIR"), dataFolder);
    return environment;
}

}  // namespace testsupport

namespace {

// Every test program prepares the process as program entry does: the
// program's own locale and fonts.
void PrepareTestProcess() {
    ApplyProgramLocale();
    widgets::InstallFontSubstitutions();
}
Q_COREAPP_STARTUP_FUNCTION(PrepareTestProcess)

}  // namespace
