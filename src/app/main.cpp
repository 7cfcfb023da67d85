#include <QApplication>
#include <QDir>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/DesktopServices.h"
#include "app/ProgramEntry.h"
#include "core/AppGlobals.h"
#include "core/ProgramLocale.h"
#include "store/DataFolder.h"
#include "widgets/WindowStyle.h"

namespace {

int PrintAndEnd(const CommandLineRequest& request) {
    std::fputs(request.standardOutput.toLocal8Bit().constData(), stdout);
    std::fputs(request.standardError.toLocal8Bit().constData(), stderr);
    return request.exitCode;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setApplicationVersion(QStringLiteral(ORGANIZER_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ORGANIZER_APP_ID));

    const CommandLineRequest request = ParseCommandLine(QApplication::arguments());
    if (request.action == CommandLineRequest::Action::Print) {
        return PrintAndEnd(request);
    }
    ApplyProgramLocale();
    widgets::InstallFontSubstitutions();
    QApplication::setWindowIcon(ApplicationIcon());

    const QString folder = store::ChooseDataFolder(
        request.dataFolder, qEnvironmentVariable(qPrintable(store::kDataFolderVariable)),
        QDir::homePath());
    if (!EnterDataFolder(folder, store::ShippedFilesFolder(QApplication::applicationDirPath()))) {
        return 1;
    }
    return RunProgram(StartupMode::Full, &QApplication::exec);
}
