#include "app/ProgramEntry.h"

#include <QDir>
#include <cstdio>

#include "app/Windows.h"
#include "core/AppGlobals.h"
#include "expenses/Unit14.h"
#include "expenses/Unit15.h"
#include "notebook/Unit7.h"
#include "store/DataFolder.h"
#include "widgets/Messages.h"

namespace {

const QString kDataFolderNotReady =
    QStringLiteral("Ο φάκελος των δεδομένων δεν μπορεί να χρησιμοποιηθεί.\r\r%1");

void ReportDataFolderFailure(const QString& reason) {
    const QByteArray line = QStringLiteral("%1: %2\n").arg(kApplicationTitle, reason).toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
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
