#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "core/AppGlobals.h"
#include "core/ProgramLocale.h"
#include "store/ConnectionString.h"
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

void TypeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs) {
    auto* timer = new QTimer(qApp);
    auto* clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, answer, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && clock->elapsed() < timeoutMs) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (modal != nullptr) {
            answer(modal);
        }
    });
    timer->start();
}

void ClickInNextModal(const QString& buttonText, QString* seenText) {
    AnswerNextModal([buttonText, seenText](QWidget* modal) {
        if (seenText != nullptr) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                *seenText = box->text();
            }
        }
        const auto buttons = modal->findChildren<QAbstractButton*>();
        for (QAbstractButton* button : buttons) {
            if (button->text() == buttonText) {
                button->click();
                return;
            }
        }
        modal->close();
    });
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
