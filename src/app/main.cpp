#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <cstdio>
#include <optional>

#include "app/CommandLine.h"
#include "app/DesktopServices.h"
#include "app/ProgramEntry.h"
#include "app/TerminalCommands.h"
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

// --help, --version, export, import and sync must work without a display (over
// ssh, in a script), where the user interface cannot start: a core
// application parses them first. Anything else, Qt's own options among
// them, is left to the parse after the user interface has taken its
// options.
std::optional<int> AnswerWithoutDisplay(int argc, char* argv[]) {
    static const QStringList textOnly{QStringLiteral("-h"), QStringLiteral("--help"),
                                      QStringLiteral("-v"), QStringLiteral("--version")};
    static const QStringList commands{QStringLiteral("export"), QStringLiteral("import"),
                                      QStringLiteral("sync")};
    static const QRegularExpression commandOption(
        QStringLiteral("^--(from|to|password-file|login-password-file|url|user|ca-file)(=|$)"));
    bool asked = false;
    bool command = false;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        asked |= textOnly.contains(argument);
        command |= commands.contains(argument) || commandOption.match(argument).hasMatch();
    }
    if (!asked && !command) {
        return std::nullopt;
    }
    QCoreApplication core(argc, argv);
    NameTheApplication();
    const CommandLineRequest request = ParseCommandLine(QCoreApplication::arguments());
    if (IsTerminalCommand(request)) {
        ApplyProgramLocale();
        return RunTerminalCommand(request);
    }
    // A mistake in a terminal command is answered here too: the user
    // interface may be unable to start.
    const bool answered = request.exitCode == 0 || command;
    if (request.action != CommandLineRequest::Action::Print || !answered) {
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
    if (IsTerminalCommand(request)) {
        return RunTerminalCommand(request);
    }
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
