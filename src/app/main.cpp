#include <QApplication>
#include <QDir>
#include <cstdio>
#include <optional>

#include "app/CommandLine.h"
#include "app/DesktopServices.h"
#include "app/ProgramEntry.h"
#include "core/AppGlobals.h"
#include "core/ProgramLocale.h"
#include "store/DataFolder.h"
#include "store/DataFolderLock.h"
#include "widgets/WindowStyle.h"

namespace {

int PrintAndEnd(const CommandLineRequest& request) {
    std::fputs(request.standardOutput.toLocal8Bit().constData(), stdout);
    std::fputs(request.standardError.toLocal8Bit().constData(), stderr);
    return request.exitCode;
}

void NameTheApplication() {
    QCoreApplication::setApplicationName(kApplicationTitle);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORGANIZER_VERSION));
}

// --help and --version must answer without a display (over ssh, in a
// script), where the user interface cannot start: a core application parses
// them first. Anything else, Qt's own options among them, is left to the
// parse after the user interface has taken its options.
std::optional<int> AnswerWithoutDisplay(int argc, char* argv[]) {
    static const QStringList textOnly{QStringLiteral("-h"), QStringLiteral("--help"),
                                      QStringLiteral("-v"), QStringLiteral("--version")};
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        asked |= textOnly.contains(QString::fromLocal8Bit(argv[i]));
    }
    if (!asked) {
        return std::nullopt;
    }
    QCoreApplication core(argc, argv);
    NameTheApplication();
    const CommandLineRequest request = ParseCommandLine(QCoreApplication::arguments());
    if (request.action != CommandLineRequest::Action::Print || request.exitCode != 0) {
        return std::nullopt;
    }
    return PrintAndEnd(request);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> exitCode = AnswerWithoutDisplay(argc, argv)) {
        return *exitCode;
    }
    QApplication application(argc, argv);
    NameTheApplication();
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
    // Held until the program ends.
    const std::unique_ptr<store::DataFolderLock> folderLock = ClaimDataFolder(QDir::currentPath());
    if (folderLock == nullptr) {
        return 1;
    }
    return RunProgram(StartupMode::Full, &QApplication::exec);
}
