// The screen resolution check, the splash and about windows, and the
// start-up sequence that leads through them, the set-password window and the
// login to the calendar.
#include <unistd.h>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <array>

#include "TestSupport.h"
#include "access/PasswordHash.h"
#include "app/ProductInfo.h"
#include "app/ProgramEntry.h"
#include "app/ScreenResolution.h"
#include "app/StartupSequence.h"
#include "app/Unit1.h"
#include "app/Unit100.h"
#include "app/Unit62.h"
#include "app/Windows.h"
#include "core/AppGlobals.h"
#include "core/ProgramTimer.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "notebook/Unit7.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "widgets/Messages.h"

using testsupport::FindControl;

namespace {

const QString kAskFirstLine = QStringLiteral(
    "H ανάλυση της οθόνης πρέπει να είναι 1024 x 768 pixels. Ο υπολογιστής σου είναι ρυθμισμένος "
    "σε διαφορετική ανάλυση. Tο λογισμικό για να λειτουργήσει σωστά χρειάζεται ανάλυση οθόνης "
    "1024 x 768 pixels.");
const QString kSwitchedFirstLine =
    QStringLiteral("Η αλλαγή της ανάλυσης οθόνης έχει πραγματοποιηθεί με επιτυχία.");
const QString kDeclinedText = QStringLiteral(
    "Ο υπολογιστής σου είναι ρυθμισμένος σε διαφορετική ανάλυση οθόνης από το 1024 x 768 "
    "pixels.\r\rΑν δεν εμφανίζονται σωστά  οι οθόνες πρέπει να αλλάξεις την ανάλυση οθόνης στο "
    "1024 x 768 pixels.");
const QString kFailedText = QStringLiteral(
    "Παρουσιάστηκε σφάλμα με την ανάλυση της οθόνης.\rΗ ανάλυση της οθόνης πρέπει να είναι 1024 x "
    "768 pixels.");

const QString kConfirm = QStringLiteral("Confirm: ") + kAskFirstLine;
const QString kSwitched = QStringLiteral("Information: ") + kSwitchedFirstLine;
const QString kDeclined = QStringLiteral("Information: ") + kDeclinedText.section('\r', 0, 0);
const QString kFailed = QStringLiteral("Error: ") + kFailedText.section('\r', 0, 0);
const QString kDenied = QStringLiteral("Δεν επιτρέπεται η πρόσβαση.");
const QString kSaved = QStringLiteral("Η καταχώρηση έχει πραγματοποιηθεί.");

// How a message box appears in a recorded run: a plain notice by its text, a
// typed dialog by its caption and first line.
QString Describe(const widgets::MessageRequest& request) {
    if (request.caption == kApplicationTitle) {
        return request.text;
    }
    return request.caption + QStringLiteral(": ") + request.text.section(QLatin1Char('\r'), 0, 0);
}

// Long past any time the splash may stay up.
constexpr int kMinuteMilliseconds = 60'000;

// Records every message box and modal window of a run, in order, and acts on
// each window as the test planned. The run's timers go by its clock, which
// by default lets the splash's time pass as soon as the splash is up.
class RunRecorder : public QObject {
public:
    RunRecorder() {
        actions.insert(QStringLiteral("TForm100"),
                       [this](QWidget*) { clock.advance(kMinuteMilliseconds); });
        widgets::SetMessageResponder([this](const widgets::MessageRequest& request) {
            events.append(Describe(request));
            requests.append(request);
            if (request.caption == QLatin1String("Confirm")) {
                return confirmAnswer == widgets::Answer::None ? request.escapeAnswer
                                                              : confirmAnswer;
            }
            return widgets::Answer::Ok;
        });
        connect(&poll_, &QTimer::timeout, this, &RunRecorder::Poll);
        poll_.start(5);
    }
    ~RunRecorder() override { testsupport::FailOnMessages(); }

    ManualClock clock;
    QStringList events;
    QList<widgets::MessageRequest> requests;
    widgets::Answer confirmAnswer = widgets::Answer::No;
    QHash<QString, std::function<void(QWidget*)>> actions;

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == current_) {
            return;
        }
        current_ = modal;
        events.append(modal->objectName());
        const auto action = actions.value(modal->objectName());
        if (action) {
            action(modal);
        }
    }

    QTimer poll_;
    QPointer<QWidget> current_;
};

// Captures what the process writes to standard error while it lives.
class StandardErrorCapture {
public:
    StandardErrorCapture() {
        file_.open();
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        dup2(file_.handle(), STDERR_FILENO);
    }
    ~StandardErrorCapture() { Restore(); }

    QString Text() {
        Restore();
        file_.seek(0);
        return QString::fromLocal8Bit(file_.readAll());
    }

private:
    void Restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, STDERR_FILENO);
            close(saved_);
            saved_ = -1;
        }
    }

    QTemporaryFile file_;
    int saved_ = -1;
};

// A line or picture of the about window, by its name.
QLabel* AboutPart(TForm62& about, const char* name) {
    return FindControl<QLabel>(&about, QString::fromLatin1(name));
}

void StorePassword(const QString& password) {
    testsupport::ExecuteStored(
        QStringLiteral("insert into ADMINISTRATOR_ACCOUNT (PASSWORD) values (?)"),
        {accesscontrol::HashPassword(password)});
}

// The login plans a run can follow.
std::function<void(QWidget*)> LoginPlan(const QString& plan) {
    return [plan](QWidget* login) {
        const auto attempt = [login](const QString& typed) {
            testsupport::ReplaceText(login, QStringLiteral("Edit3"), typed);
            QTest::keyClick(FindControl<QLineEdit>(login, QStringLiteral("Edit3")), Qt::Key_Return);
        };
        if (plan == QLatin1String("right")) {
            attempt(QStringLiteral("Secret1"));
        } else if (plan == QLatin1String("right with blanks")) {
            attempt(QStringLiteral("  Secret1\t "));
        } else if (plan == QLatin1String("other case")) {
            attempt(QStringLiteral("SECRET1"));
        } else if (plan == QLatin1String("wrong, then close")) {
            attempt(QStringLiteral("wrong"));
            login->close();
        } else if (plan == QLatin1String("exit")) {
            testsupport::Click(login, QStringLiteral("Button2"));
        } else if (plan == QLatin1String("escape")) {
            QTest::keyClick(login, Qt::Key_Escape);
        } else if (plan == QLatin1String("close")) {
            login->close();
        }
        // A refused plan leaves by Έξοδος, so that no run waits forever.
        if (login->isVisible()) {
            testsupport::Click(login, QStringLiteral("Button2"));
        }
    };
}

std::function<void(QWidget*)> SetPasswordPlan(const QString& plan) {
    return [plan](QWidget* window) {
        if (plan == QLatin1String("save")) {
            testsupport::ReplaceText(window, QStringLiteral("Edit1"), QStringLiteral("Secret1"));
            testsupport::ReplaceText(window, QStringLiteral("Edit2"), QStringLiteral("Secret1"));
            testsupport::Click(window, QStringLiteral("Button1"));
        } else {
            window->close();
        }
    };
}

void SendContextMenu(QWidget* widget) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &event);
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void designedSizeInPhysicalPixels_data();
    void designedSizeInPhysicalPixels();
    void resolutionCheck_data();
    void resolutionCheck();
    void resolutionConfirmationKeys();
    void failingScreenReadingIsReported();
    void negativeDisplaySizeIsAnError();

    void productPictureIsADecodedJpeg();
    void splashWindow();
    void splashStaysUpTwoSeconds();
    void splashTakesNoKeys();

    void aboutWindowLaysOutEveryLineInside();
    void aboutLines_data();
    void aboutLines();
    void aboutLinesStandInTheirOrder();
    void aboutAddresses_data();
    void aboutAddresses();
    void aboutCloses_data();
    void aboutCloses();

    void sequence_data();
    void sequence();
    void silentEndWritesItsReason_data();
    void silentEndWritesItsReason();

    void programEntry_data();
    void programEntry();
    void runProgram_data();
    void runProgram();

private:
    std::unique_ptr<testsupport::WorkDir> workDir_;
};

void TestStartup::init() {
    testsupport::ResetTestHooks();
    workDir_ = std::make_unique<testsupport::WorkDir>();
    SetDisplayAccess({[] { return ScreenGeometry{QSize(1024, 768)}; }, {}});
    SetLocalNowForTests(QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
    app().TodayYear = 0;
}

void TestStartup::cleanup() {
    workDir_.reset();
    testsupport::ResetTestHooks();
}

void TestStartup::designedSizeInPhysicalPixels_data() {
    QTest::addColumn<QSize>("deviceIndependent");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("designed");
    QTest::newRow("1024x768 at 1") << QSize(1024, 768) << 1.0 << true;
    QTest::newRow("1023x768 at 1") << QSize(1023, 768) << 1.0 << false;
    QTest::newRow("1024x767 at 1") << QSize(1024, 767) << 1.0 << false;
    QTest::newRow("512x384 at 2: 1024x768 physical") << QSize(512, 384) << 2.0 << true;
    QTest::newRow("1024x768 at 2: 2048x1536 physical") << QSize(1024, 768) << 2.0 << false;
    QTest::newRow("819x614 at 1.25, rounded by Qt") << QSize(819, 614) << 1.25 << true;
    QTest::newRow("683x512 at 1.5, rounded up by Qt") << QSize(683, 512) << 1.5 << true;
    QTest::newRow("682x512 at 1.5: 1023 physical") << QSize(682, 512) << 1.5 << false;
    QTest::newRow("1280x960 at 0.8") << QSize(1280, 960) << 0.8 << true;
}

void TestStartup::designedSizeInPhysicalPixels() {
    QFETCH(QSize, deviceIndependent);
    QFETCH(qreal, ratio);
    QFETCH(bool, designed);
    QCOMPARE(HasDesignedSize({deviceIndependent, ratio}), designed);
}

void TestStartup::resolutionCheck_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("switchResult");  // -1: the system's own switching
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("exitRequested");
    QTest::addColumn<bool>("switchTried");
    const int yes = int(widgets::Answer::Yes);
    const int no = int(widgets::Answer::No);
    QTest::newRow("1024x768: nothing shown")
        << QSize(1024, 768) << 1.0 << yes << 1 << QStringList{} << false << false;
    QTest::newRow("1280x1024, No") << QSize(1280, 1024) << 1.0 << no << 1
                                   << QStringList{kConfirm, kDeclined} << false << false;
    QTest::newRow("1280x1024, Yes, switched")
        << QSize(1280, 1024) << 1.0 << yes << 1 << QStringList{kConfirm, kSwitched} << true << true;
    QTest::newRow("768x1024 portrait, Yes, switched")
        << QSize(768, 1024) << 1.0 << yes << 1 << QStringList{kConfirm, kSwitched} << true << true;
    QTest::newRow("1024x600, No") << QSize(1024, 600) << 1.0 << no << 1
                                  << QStringList{kConfirm, kDeclined} << false << false;
    QTest::newRow("800x600, Yes, switch refused")
        << QSize(800, 600) << 1.0 << yes << 0 << QStringList{kConfirm, kFailed} << false << true;
    QTest::newRow("1280x1024, Yes, this platform cannot switch")
        << QSize(1280, 1024) << 1.0 << yes << -1 << QStringList{kConfirm, kFailed} << false
        << false;
    QTest::newRow("1024x768 physical at ratio 2: nothing shown")
        << QSize(512, 384) << 2.0 << yes << 1 << QStringList{} << false << false;
    QTest::newRow("2048x1536 physical at ratio 2, No")
        << QSize(1024, 768) << 2.0 << no << 1 << QStringList{kConfirm, kDeclined} << false << false;
}

void TestStartup::resolutionCheck() {
    QFETCH(QSize, screen);
    QFETCH(qreal, ratio);
    QFETCH(int, answer);
    QFETCH(int, switchResult);
    QFETCH(QStringList, events);
    QFETCH(bool, exitRequested);
    QFETCH(bool, switchTried);
    QList<QSize> switches;
    DisplayAccess access{[screen, ratio] { return ScreenGeometry{screen, ratio}; }, {}};
    if (switchResult >= 0) {
        access.switchMode = [&switches, switchResult](int width, int height) {
            switches.append(QSize(width, height));
            return switchResult == 1;
        };
    }
    SetDisplayAccess(access);
    RunRecorder recorder;
    recorder.confirmAnswer = widgets::Answer(answer);
    app().ExitMarker = QStringLiteral("untouched");

    CheckScreenResolution();

    QCOMPARE(recorder.events, events);
    QCOMPARE(app().ExitMarker, exitRequested ? kExitRequested : QStringLiteral("untouched"));
    QCOMPARE(switches, switchTried ? QList<QSize>{QSize(1024, 768)} : QList<QSize>{});
    if (events.size() == 2) {
        const QString fullText = recorder.requests.at(1).text;
        QVERIFY(fullText == kDeclinedText || fullText == kFailedText ||
                fullText.startsWith(kSwitchedFirstLine + QStringLiteral("\rΤο λογισμικό")));
    }
}

void TestStartup::resolutionConfirmationKeys() {
    SetDisplayAccess({[] { return ScreenGeometry{QSize(1280, 1024)}; }, {}});
    RunRecorder recorder;
    recorder.confirmAnswer = widgets::Answer::None;  // Escape
    CheckScreenResolution();
    QCOMPARE(recorder.events, (QStringList{kConfirm, kDeclined}));
    const widgets::MessageRequest& confirm = recorder.requests.at(0);
    QCOMPARE(confirm.icon, widgets::MessageIcon::Question);
    QCOMPARE(confirm.buttons, (QList<widgets::Answer>{widgets::Answer::Yes, widgets::Answer::No}));
    QCOMPARE(confirm.defaultAnswer, widgets::Answer::Yes);
    QCOMPARE(confirm.escapeAnswer, widgets::Answer::No);
    QVERIFY(confirm.text.endsWith(
        QStringLiteral(" pixels.\r\rΝα γίνει η αλλαγή ανάλυσης της οθόνης αυτόματα;")));
    QCOMPARE(recorder.requests.at(1).icon, widgets::MessageIcon::Information);
}

void TestStartup::failingScreenReadingIsReported() {
    SetDisplayAccess({[]() -> ScreenGeometry { throw DisplayModeError("no screen"); }, {}});
    RunRecorder recorder;
    app().ExitMarker.clear();
    CheckScreenResolution();
    QCOMPARE(recorder.events, QStringList{kFailed});
    QCOMPARE(recorder.requests.at(0).text, kFailedText);
    QCOMPARE(recorder.requests.at(0).icon, widgets::MessageIcon::Error);
    QVERIFY(app().ExitMarker.isEmpty());
}

void TestStartup::negativeDisplaySizeIsAnError() {
    int calls = 0;
    SetDisplayAccess({{}, [&calls](int, int) { return ++calls > 0; }});
    QVERIFY_THROWS_EXCEPTION(DisplayModeError, SetScreenResolution(-1, 768));
    QVERIFY_THROWS_EXCEPTION(DisplayModeError, SetScreenResolution(1024, -768));
    QCOMPARE(calls, 0);
    SetScreenResolution(0, 0);
    QCOMPARE(calls, 1);
}

void TestStartup::productPictureIsADecodedJpeg() {
    product::ProductPicture();  // makes the built-in pictures available
    QImageReader reader(QStringLiteral(":/product/product.jpg"));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage picture = reader.read();
    QVERIFY2(!picture.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(picture.size(), QSize(703, 622));
    QCOMPARE(product::BadgePicture().size(), QSize(147, 37));
}

void TestStartup::splashWindow() {
    TForm100 splash;
    QCOMPARE(splash.size(), QSize(723, 647));
    QCOMPARE(splash.windowTitle(), kApplicationTitle);
    QCOMPARE(splash.palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Button));
    QVERIFY(FindControl<QGroupBox>(&splash, QStringLiteral("GroupBox1"))->title().isEmpty());
    QVERIFY(splash.rect().contains(
        FindControl<QGroupBox>(&splash, QStringLiteral("GroupBox1"))->geometry()));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    auto* image = FindControl<QLabel>(&splash, QStringLiteral("Image1"));
    QCOMPARE(image->size(), QSize(703, 622));
    QVERIFY(!image->pixmap().isNull());
    QVERIFY(image->hasScaledContents());
    QVERIFY(splash.geometry().contains(image->mapTo(&splash, image->rect().bottomRight())));
    QVERIFY(!splash.Timer1->isActive());
}

// The program's own two seconds, on a clock the test moves: the splash is
// still up a millisecond before them, gone at them, and start-up goes on to
// the login by itself.
void TestStartup::splashStaysUpTwoSeconds() {
    StorePassword(QStringLiteral("Secret1"));
    RunRecorder recorder;
    bool upJustBefore = false;
    bool upAtItsTime = true;
    recorder.actions.insert(QStringLiteral("TForm100"), [&](QWidget* splash) {
        recorder.clock.advance(1999);
        upJustBefore = splash->isVisible();
        recorder.clock.advance(1);
        upAtItsTime = splash->isVisible();
        // A splash that outstays its time must not hold the run up.
        recorder.clock.advance(kMinuteMilliseconds);
    });
    recorder.actions.insert(QStringLiteral("TForm165"), LoginPlan(QStringLiteral("right")));

    TForm1 form1(StartupMode::Full);

    QCOMPARE(recorder.events,
             QStringList({QStringLiteral("TForm100"), QStringLiteral("TForm165")}));
    QVERIFY(upJustBefore);
    QVERIFY(!upAtItsTime);
    QVERIFY(!form1.quitRequested());
}

void TestStartup::splashTakesNoKeys() {
    TForm100 splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QTest::keyClick(&splash, Qt::Key_Escape);
    QTest::keyClick(&splash, Qt::Key_Return);
    QVERIFY(splash.isVisible());
}

void TestStartup::aboutWindowLaysOutEveryLineInside() {
    TForm62 about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About KAVELO ORGANIZER"));
    QCOMPARE(about.size(), QSize(647, 356));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QRect picture = AboutPart(about, "Image1")->geometry();
    QCOMPARE(picture.size(), QSize(264, 246));
    QVERIFY(!AboutPart(about, "Image1")->pixmap().isNull());
    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    QCOMPARE(labels.size(), 15);
    for (const QLabel* label : labels) {
        const QRect box = label->geometry();
        QVERIFY2(about.rect().contains(box), qPrintable(label->objectName()));
        if (!label->hasScaledContents()) {
            QVERIFY2(label->sizeHint().width() <= box.width(), qPrintable(label->objectName()));
        }
        if (label != AboutPart(about, "Image1") && label != AboutPart(about, "Label1")) {
            QVERIFY2(!box.intersects(picture), qPrintable(label->objectName()));
        }
    }
    // The addresses stand on the lines of their prefixes.
    QCOMPARE(AboutPart(about, "Label3")->y(), AboutPart(about, "Label12")->y());
    QCOMPARE(AboutPart(about, "Label4")->y(), AboutPart(about, "Label13")->y());
    QVERIFY(AboutPart(about, "Label3")->x() >= AboutPart(about, "Label12")->geometry().right());
    QVERIFY(AboutPart(about, "Label9")->text().startsWith(QStringLiteral("Διεύθυνση: ")));
    QVERIFY(AboutPart(about, "Label7")->text().startsWith(QStringLiteral("Τηλ: ")));
    QVERIFY(AboutPart(about, "Label14")->text().startsWith(QStringLiteral("Mob: ")));
    QVERIFY(AboutPart(about, "Label8")->text().startsWith(QStringLiteral("Mob: ")));
}

void TestStartup::aboutLines_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");   // the whole text, or its fixed prefix
    QTest::addColumn<int>("pixelSize");  // 0: the window's Tahoma 8
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("link");
    QTest::newRow("maker") << "Label1"
                           << "KAVELO SOFTWARE DEVELOPMENT" << 27 << true << false;
    QTest::newRow("product") << "Label5"
                             << "KAVELO ORGANIZER" << 20 << true << false;
    QTest::newRow("version") << "Label6"
                             << "Version 1.0.0.2010" << 0 << true << false;
    QTest::newRow("website prefix") << "Label12"
                                    << "Website: " << 0 << false << false;
    QTest::newRow("website") << "Label3" << product::kWebsite << 0 << false << true;
    QTest::newRow("e-mail prefix") << "Label13"
                                   << "E-mail: " << 0 << false << false;
    QTest::newRow("e-mail") << "Label4" << product::kEmail << 0 << false << true;
    QTest::newRow("street") << "Label9"
                            << "Διεύθυνση: " << 0 << false << false;
    QTest::newRow("town") << "Label10" << product::kPostalTown << 0 << false << false;
    QTest::newRow("telephone") << "Label7"
                               << "Τηλ: " << 0 << false << false;
    QTest::newRow("mobile") << "Label14"
                            << "Mob: " << 0 << false << false;
    QTest::newRow("second mobile") << "Label8"
                                   << "Mob: " << 0 << false << false;
    QTest::newRow("rights") << "Label11" << product::kRightsNotice << 0 << false << false;
}

void TestStartup::aboutLines() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(bool, link);
    TForm62 about;
    QCOMPARE(about.palette().color(QPalette::Window), QColor(255, 251, 240));
    const auto* label = FindControl<QLabel>(&about, name);
    QVERIFY2(label->text().startsWith(text), qPrintable(label->text()));
    QVERIFY(label->text().size() > text.size() || label->text() == text);
    if (pixelSize > 0) {
        QCOMPARE(label->font().pixelSize(), pixelSize);
    } else {
        QCOMPARE(label->font().pointSize(), 8);
    }
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(label->font().underline(), link);
    QCOMPARE(label->palette().color(QPalette::WindowText) == QColor(Qt::blue), link);
    QCOMPARE(label->cursor().shape(), link ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

// The company line on top, the picture at the left, the lines in the order of
// the window's table to its right, the version beside the product name, the
// badge and OK last.
void TestStartup::aboutLinesStandInTheirOrder() {
    TForm62 about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QRect picture = AboutPart(about, "Image1")->geometry();
    QVERIFY(AboutPart(about, "Label1")->geometry().bottom() < picture.top());
    const QList<QLabel*> column = {
        AboutPart(about, "Label5"),  AboutPart(about, "Label12"), AboutPart(about, "Label13"),
        AboutPart(about, "Label9"),  AboutPart(about, "Label10"), AboutPart(about, "Label7"),
        AboutPart(about, "Label14"), AboutPart(about, "Label8"),  AboutPart(about, "Label11")};
    for (int i = 0; i < column.size(); ++i) {
        QVERIFY2(column.at(i)->x() > picture.right(), qPrintable(column.at(i)->objectName()));
        if (i > 0) {
            QVERIFY2(column.at(i)->y() > column.at(i - 1)->y(),
                     qPrintable(column.at(i)->objectName()));
        }
    }
    QVERIFY(AboutPart(about, "Label6")->x() > AboutPart(about, "Label5")->geometry().right());
    QVERIFY(AboutPart(about, "Label6")
                ->geometry()
                .intersects(QRect(0, AboutPart(about, "Label5")->y(), about.width(),
                                  AboutPart(about, "Label5")->height())));
    QCOMPARE(AboutPart(about, "Image2")->size(), QSize(147, 37));
    QCOMPARE(AboutPart(about, "Image2")->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(AboutPart(about, "Image2")->y() > AboutPart(about, "Label11")->geometry().bottom());
    const auto* ok = FindControl<QPushButton>(&about, QStringLiteral("Button1"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->size(), QSize(75, 25));
    QVERIFY(ok->isDefault());
    QVERIFY(ok->y() > AboutPart(about, "Label11")->geometry().bottom());
}

void TestStartup::aboutAddresses_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("rightClick");
    QTest::addColumn<QString>("address");
    QTest::newRow("website line") << QStringLiteral("Label3") << false << product::kWebsite;
    QTest::newRow("e-mail line") << QStringLiteral("Label4") << false
                                 << QStringLiteral("mailto:") + product::kEmail;
    QTest::newRow("badge") << QStringLiteral("Image2") << false << product::kBadgePage;
    QTest::newRow("right-click on the picture")
        << QStringLiteral("Image1") << true << product::kWebsite;
    QTest::newRow("right-click on the window")
        << QStringLiteral("TForm62") << true << product::kWebsite;
    QTest::newRow("right-click on a plain line")
        << QStringLiteral("Label9") << true << product::kWebsite;
    QTest::newRow("click on a plain line") << QStringLiteral("Label5") << false << QString();
    QTest::newRow("click on the picture") << QStringLiteral("Image1") << false << QString();
}

void TestStartup::aboutAddresses() {
    QFETCH(QString, control);
    QFETCH(bool, rightClick);
    QFETCH(QString, address);
    QStringList opened;
    product::SetAddressOpener([&opened](const QUrl& url) { opened.append(url.toString()); });
    TForm62 about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QWidget* target =
        control == QLatin1String("TForm62") ? &about : FindControl<QWidget>(&about, control);
    if (rightClick) {
        SendContextMenu(target);
    } else {
        QTest::mouseClick(target, Qt::LeftButton);
    }
    QCOMPARE(opened, address.isEmpty() ? QStringList{} : QStringList{address});
    QVERIFY(about.isVisible());
}

void TestStartup::aboutCloses_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("OK") << 0;
}

void TestStartup::aboutCloses() {
    QFETCH(int, key);
    TForm62 about;
    bool stillUp = true;
    const auto answer = testsupport::AnswerNextWindow<TForm62>([key, &stillUp](TForm62* window) {
        if (key == 0) {
            QTest::mouseClick(FindControl<QPushButton>(window, QStringLiteral("Button1")),
                              Qt::LeftButton);
        } else {
            QTest::keyClick(window, Qt::Key(key));
        }
        stillUp = window->isVisible();
    });
    about.exec();
    VERIFY_MODAL(answer);
    QVERIFY(!stillUp);
}

void TestStartup::sequence_data() {
    QTest::addColumn<bool>("passwordStored");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("switchResult");  // -1: the system's own switching
    QTest::addColumn<QString>("setPasswordPlan");
    QTest::addColumn<QString>("loginPlan");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("reachesCalendar");
    const QSize designed(1024, 768);
    const int no = int(widgets::Answer::No);
    const int yes = int(widgets::Answer::Yes);
    const QString splash = QStringLiteral("TForm100");
    const QString setPassword = QStringLiteral("TForm17");
    const QString login = QStringLiteral("TForm165");

    QTest::newRow("no password: set it, then log in")
        << false << designed << no << 1 << QStringLiteral("save") << QStringLiteral("right")
        << QStringList{splash, setPassword, kSaved, login} << true;
    QTest::newRow("stored password: login only")
        << true << designed << no << 1 << QString() << QStringLiteral("right")
        << QStringList{splash, login} << true;
    QTest::newRow("right password with blanks around")
        << true << designed << no << 1 << QString() << QStringLiteral("right with blanks")
        << QStringList{splash, login} << true;
    QTest::newRow("Έξοδος at login")
        << true << designed << no << 1 << QString() << QStringLiteral("exit")
        << QStringList{splash, login} << false;
    QTest::newRow("Escape at login")
        << true << designed << no << 1 << QString() << QStringLiteral("escape")
        << QStringList{splash, login} << false;
    QTest::newRow("closing the login window untried")
        << true << designed << no << 1 << QString() << QStringLiteral("close")
        << QStringList{splash, login} << false;
    QTest::newRow("wrong password, then closing the window")
        << true << designed << no << 1 << QString() << QStringLiteral("wrong, then close")
        << QStringList{splash, login, kDenied} << false;
    QTest::newRow("right password in other letter case")
        << true << designed << no << 1 << QString() << QStringLiteral("other case")
        << QStringList{splash, login, kDenied} << false;
    QTest::newRow("set-password window closed unsaved: no login passes")
        << false << designed << no << 1 << QStringLiteral("close") << QStringLiteral("right")
        << QStringList{splash, setPassword, login, kDenied} << false;
    QTest::newRow("resolution change declined")
        << true << QSize(1280, 1024) << no << 1 << QString() << QStringLiteral("right")
        << QStringList{kConfirm, kDeclined, splash, login} << true;
    QTest::newRow("resolution change accepted where it cannot happen")
        << true << QSize(1280, 1024) << yes << -1 << QString() << QStringLiteral("right")
        << QStringList{kConfirm, kFailed, splash, login} << true;
    QTest::newRow("resolution switched: the program ends")
        << true << QSize(1280, 1024) << yes << 1 << QString() << QStringLiteral("right")
        << QStringList{kConfirm, kSwitched} << false;
}

void TestStartup::sequence() {
    QFETCH(bool, passwordStored);
    QFETCH(QSize, screen);
    QFETCH(int, answer);
    QFETCH(int, switchResult);
    QFETCH(QString, setPasswordPlan);
    QFETCH(QString, loginPlan);
    QFETCH(QStringList, events);
    QFETCH(bool, reachesCalendar);
    if (passwordStored) {
        StorePassword(QStringLiteral("Secret1"));
    }
    DisplayAccess access{[screen] { return ScreenGeometry{screen}; }, {}};
    if (switchResult >= 0) {
        access.switchMode = [switchResult](int, int) { return switchResult == 1; };
    }
    SetDisplayAccess(access);
    RunRecorder recorder;
    recorder.confirmAnswer = widgets::Answer(answer);
    recorder.actions.insert(QStringLiteral("TForm17"), SetPasswordPlan(setPasswordPlan));
    recorder.actions.insert(QStringLiteral("TForm165"), LoginPlan(loginPlan));
    // Another working directory at start: the sequence takes the current one.
    app().AppConnectionString.clear();
    app().ExitMarker.clear();

    TForm1 form1(StartupMode::Full);

    QCOMPARE(recorder.events, events);
    QCOMPARE(form1.quitRequested(), !reachesCalendar);
    QCOMPARE(app().ExitMarker, reachesCalendar ? kLoginAccepted : kExitRequested);
    QCOMPARE(app().AppConnectionString, events.contains(QStringLiteral("TForm100"))
                                            ? workDir_->connectionString()
                                            : QString());
    QCOMPARE(app().TodayYear, reachesCalendar ? 2026 : 0);
    if (reachesCalendar) {
        QCOMPARE(FindControl<QComboBox>(&form1, QStringLiteral("ComboBox1"))->currentIndex(), 2);
        QCOMPARE(FindControl<QComboBox>(&form1, QStringLiteral("ComboBox2"))->currentText(),
                 QStringLiteral("2026"));
    }
}

void TestStartup::silentEndWritesItsReason_data() {
    QTest::addColumn<bool>("databasePresent");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing data.mdb: the splash, then the end")
        << false << QDate(2026, 3, 14) << QStringList{QStringLiteral("TForm100")}
        << QStringLiteral("data.mdb");
    QTest::newRow("a start-up year outside the year list: the end after the login")
        << true << QDate(2040, 1, 5)
        << QStringList{QStringLiteral("TForm100"), QStringLiteral("TForm165")} << QString();
}

void TestStartup::silentEndWritesItsReason() {
    QFETCH(bool, databasePresent);
    QFETCH(QDate, today);
    QFETCH(QStringList, events);
    QFETCH(QString, reason);
    StorePassword(QStringLiteral("Secret1"));
    if (!databasePresent) {
        store::DiscardIdleHandles();
        QVERIFY(QFile::remove(workDir_->databasePath()));
    }
    SetLocalNowForTests(QDateTime(today, QTime(8, 0)));
    RunRecorder recorder;
    recorder.actions.insert(QStringLiteral("TForm165"), LoginPlan(QStringLiteral("right")));
    StandardErrorCapture capture;

    TForm1 form1(StartupMode::Full);

    const QString written = capture.Text();
    QCOMPARE(recorder.events, events);
    QVERIFY(form1.quitRequested());
    QCOMPARE(written.count(QLatin1Char('\n')), 1);
    QVERIFY2(written.startsWith(kApplicationTitle + QStringLiteral(": start-up ended: ")),
             qPrintable(written));
    QVERIFY2(written.contains(reason), qPrintable(written));
    QCOMPARE(QFile::exists(workDir_->databasePath()), databasePresent);
}

void TestStartup::programEntry_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("reachesCalendar");
    QTest::newRow("a listed year: the calendar comes up") << QDate(2026, 3, 14) << true;
    QTest::newRow("start-up ends early: the loop stops on its first turn")
        << QDate(2040, 1, 5) << false;
}

void TestStartup::programEntry() {
    QFETCH(QDate, today);
    QFETCH(bool, reachesCalendar);
    SetLocalNowForTests(QDateTime(today, QTime(8, 0)));

    const ProgramWindows windows = CreateProgramWindows(StartupMode::CalendarOnly);

    QCOMPARE(windows.Form1->isVisible(), reachesCalendar);
    QCOMPARE(windows.Form1->quitRequested(), !reachesCalendar);
    // The long-lived windows exist in either case, hidden until an opener
    // shows them.
    const std::array<QWidget*, 3> longLived{windows.Form7.get(), windows.Form14.get(),
                                            windows.Form15.get()};
    const QStringList names{QStringLiteral("TForm7"), QStringLiteral("TForm14"),
                            QStringLiteral("TForm15")};
    for (std::size_t i = 0; i < longLived.size(); ++i) {
        QCOMPARE(longLived[i]->objectName(), names[int(i)]);
        QVERIFY(longLived[i]->isWindow());
        QVERIFY(!longLived[i]->isVisible());
    }
    // The windows that show them reach these very instances.
    QCOMPARE(static_cast<QWidget*>(&NotebookPrintingWindow()), longLived[0]);
    QCOMPARE(static_cast<QWidget*>(&ExpensesSearchWindow()), longLived[1]);
    QCOMPARE(static_cast<QWidget*>(&ExpensesByMonthWindow()), longLived[2]);
}

void TestStartup::runProgram_data() {
    QTest::addColumn<bool>("fullStartup");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("loginPlan");
    QTest::addColumn<bool>("loopRuns");
    const QSize designed(1024, 768);
    QTest::newRow("Έξοδος at login, after the splash's and the login's own loops")
        << true << QDate(2026, 3, 14) << designed << QStringLiteral("exit") << false;
    QTest::newRow("display switched at the resolution check")
        << true << QDate(2026, 3, 14) << QSize(1280, 1024) << QStringLiteral("right") << false;
    QTest::newRow("a start-up year outside the year list")
        << false << QDate(2040, 1, 5) << designed << QString() << false;
    QTest::newRow("accepted login: the loop runs with the calendar up")
        << true << QDate(2026, 3, 14) << designed << QStringLiteral("right") << true;
}

void TestStartup::runProgram() {
    QFETCH(bool, fullStartup);
    QFETCH(QDate, today);
    QFETCH(QSize, screen);
    QFETCH(QString, loginPlan);
    QFETCH(bool, loopRuns);
    SetLocalNowForTests(QDateTime(today, QTime(8, 0)));
    StorePassword(QStringLiteral("Secret1"));
    SetDisplayAccess({[screen] { return ScreenGeometry{screen}; }, [](int, int) { return true; }});
    RunRecorder recorder;
    recorder.confirmAnswer = widgets::Answer::Yes;
    recorder.actions.insert(QStringLiteral("TForm165"), LoginPlan(loginPlan));
    int loopRunsSeen = 0;
    bool calendarUpInLoop = false;
    const auto loop = [&loopRunsSeen, &calendarUpInLoop] {
        ++loopRunsSeen;
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            calendarUpInLoop |=
                window->objectName() == QLatin1String("TForm1") && window->isVisible();
        }
        return 7;
    };

    const int exitCode =
        RunProgram(fullStartup ? StartupMode::Full : StartupMode::CalendarOnly, loop);

    QCOMPARE(loopRunsSeen, loopRuns ? 1 : 0);
    QCOMPARE(exitCode, loopRuns ? 7 : 0);
    QCOMPARE(calendarUpInLoop, loopRuns);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
