#include "app/Unit1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

#include "app/StartupSequence.h"
#include "calendar/MonthCalendar.h"
#include "core/AppGlobals.h"
#include "store/ConnectionString.h"
#include "ui_Unit1.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

const QSize kClientSize(626, 716);
const QString kBackupFailedNote = QStringLiteral(
    "Δεν ήταν δυνατό να γίνει το σημερινό αντίγραφο ασφαλείας των δεδομένων.\r\r%1\r\r"
    "Τα δεδομένα σου δεν έχουν αλλάξει. Θα γίνει νέα προσπάθεια στην επόμενη εκκίνηση.");

}  // namespace

TForm1::TForm1(StartupMode mode, QWidget* parent)
    : QWidget(parent), mode_(mode), ui(std::make_unique<Ui::TForm1>()) {
    ui->setupUi(this);
    setWindowTitle(kApplicationTitle);
    widgets::ApplyWindowConventions(this, kClientSize, /*minimizeBox=*/true);
    BuildCommands();
    FormCreate();
}

TForm1::~TForm1() = default;

MonthCalendar* TForm1::Calendar() const {
    return ui->MonthCalendar1;
}

void TForm1::FormCreate() {
    if (mode_ == StartupMode::Full) {
        // The sequence has its own catch-all and ends with today's month.
        if (!RunStartupSequence([this] { TakeTodayAndShowItsMonth(); },
                                [this](const QString& reason) { NoteBackupFailure(reason); })) {
            RequestQuitFromCreation();
        }
        return;
    }
    // Any error of the sequence ends the run without a message.
    try {
        app().AppDirectory = store::CurrentAppDirectory();
        app().AppConnectionString = store::BuildConnectionString(app().AppDirectory);
        TakeTodayAndShowItsMonth();
    } catch (...) {
        RequestQuitFromCreation();
    }
}

void TForm1::TakeTodayAndShowItsMonth() {
    const QDate today = LocalNow().date();
    app().TodayYear = quint16(today.year());
    app().TodayMonth = quint16(today.month());
    app().TodayDay = quint16(today.day());
    ui->MonthCalendar1->ShowTodayMonth();
}

// Queued: the window is still being created; the note comes up over it once
// the event loop runs.
void TForm1::NoteBackupFailure(const QString& reason) {
    QTimer::singleShot(0, this,
                       [this, reason] { widgets::ShowNote(this, kBackupFailedNote.arg(reason)); });
}

void TForm1::RequestQuitFromCreation() {
    quitRequested_ = true;
    // Queued: the loop does not run yet; the request ends it on its first turn.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    PutAwayTrayAndNotes();
    // Closing the main window ends the run, even with sticky notes still up.
    QCoreApplication::quit();
}
