#include "app/ProgramEntry.h"

#include <QDir>
#include <cstdio>

#include "app/Windows.h"
#include "core/AppGlobals.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "notebook/Unit7.h"
#include "store/DataFolder.h"
#include "store/DataFolderLock.h"
#include "widgets/Messages.h"

namespace {

const QString kDataFolderNotReady =
    QStringLiteral("Ο φάκελος των δεδομένων δεν μπορεί να χρησιμοποιηθεί.\r\r%1");

const QString kAlreadyRunning = QStringLiteral(
    "Το πρόγραμμα είναι ήδη ανοιχτό με αυτόν τον φάκελο δεδομένων:\r%1\r\r"
    "Χρησιμοποίησε το παράθυρο που είναι ήδη ανοιχτό. Αν δεν φαίνεται, θα το βρεις στην "
    "περιοχή ειδοποιήσεων, δίπλα στο ρολόι.");

void WriteStandardErrorLine(const QString& text) {
    const QByteArray line = QStringLiteral("%1: %2\n").arg(kApplicationTitle, text).toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

void ReportDataFolderFailure(const QString& reason) {
    WriteStandardErrorLine(reason);
    widgets::ShowErrorDialog(nullptr, kDataFolderNotReady.arg(reason));
}

}  // namespace

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows::~ProgramWindows() {
    if (Form7 != nullptr) {
        RegisterLongLivedWindows({});
    }
}

ProgramWindows CreateProgramWindows(StartupMode mode) {
    ProgramWindows windows;
    windows.Form1 = std::make_unique<TForm1>(mode);
    windows.Form7 = std::make_unique<TForm7>();
    windows.Form14 = std::make_unique<TForm14>();
    windows.Form15 = std::make_unique<TForm15>();
    RegisterLongLivedWindows({windows.Form7.get(), windows.Form14.get(), windows.Form15.get()});
    if (!windows.Form1->quitRequested()) {
        windows.Form1->show();
    }
    return windows;
}

int RunProgram(StartupMode mode, const std::function<int()>& eventLoop) {
    const ProgramWindows windows = CreateProgramWindows(mode);
    if (windows.Form1->quitRequested()) {
        return 0;
    }
    return eventLoop();
}

bool EnterDataFolder(const QString& folder, const QString& shippedFolder) {
    try {
        store::PrepareDataFolder(folder, shippedFolder);
    } catch (const store::DataFolderError& error) {
        ReportDataFolderFailure(QString::fromStdString(error.what()));
        return false;
    }
    if (!QDir::setCurrent(folder)) {
        ReportDataFolderFailure(QStringLiteral("cannot work in the data folder: %1")
                                    .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    return true;
}

std::unique_ptr<store::DataFolderLock> ClaimDataFolder(const QString& folder) {
    auto lock = std::make_unique<store::DataFolderLock>(folder);
    const QString lockFile = QDir::toNativeSeparators(lock->lockFilePath());
    switch (lock->state()) {
        case store::DataFolderLock::State::Held:
            break;
        case store::DataFolderLock::State::HeldByAnother:
            WriteStandardErrorLine(
                QStringLiteral("already running with this data folder (%1)").arg(lockFile));
            widgets::ShowNotice(nullptr, kAlreadyRunning.arg(QDir::toNativeSeparators(folder)));
            return nullptr;
        case store::DataFolderLock::State::Unavailable:
            // Where no lock file can be made, no journal can be either: a
            // second program could not write, so none can lose a write.
            WriteStandardErrorLine(
                QStringLiteral("cannot make %1; going on without it").arg(lockFile));
            break;
    }
    return lock;
}
