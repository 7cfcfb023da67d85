#include "app/Unit1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>

#include "core/AppGlobals.h"
#include "app/StartupSequence.h"
#include "store/ConnectionString.h"
#include "widgets/WindowStyle.h"

namespace {

const QSize kClientSize(626, 716);

}  // namespace

TForm1::TForm1(StartupMode mode, QWidget* parent) : QWidget(parent), mode_(mode) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(kApplicationTitle);
    widgets::ApplyWindowConventions(this, kClientSize, /*minimizeBox=*/true);
    ADOConnection1.setShareDenyNone(true);
    BuildCalendarArea();
    BuildCommands();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    if (mode_ == StartupMode::Full) {
        // The sequence has its own catch-all and ends with today's month.
        if (!RunStartupSequence([this] { ShowStartupMonth(); })) {
            RequestQuitFromCreation();
        }
        return;
    }
    // Any error of the sequence ends the run without a message.
    try {
        app().AppDirectory = store::CurrentAppDirectory();
        app().AppConnectionString = store::BuildConnectionString(app().AppDirectory);
        ShowStartupMonth();
    } catch (...) {
        RequestQuitFromCreation();
    }
}

void TForm1::ShowStartupMonth() {
    const QDate today = LocalNow().date();
    app().TodayYear = quint16(today.year());
    app().TodayMonth = quint16(today.month());
    app().TodayDay = quint16(today.day());
    ShowTodayMonth();
}

void TForm1::RequestQuitFromCreation() {
    quitRequested_ = true;
    // Queued: the loop does not run yet; the request ends it on its first turn.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void TForm1::FormClose() {
    ADOConnection1.close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    PutAwayTrayAndNotes();
    // Closing the main window ends the run, even with sticky notes still up.
    QCoreApplication::quit();
}

void TForm1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    PaintCalendarBoxes(painter);
}
