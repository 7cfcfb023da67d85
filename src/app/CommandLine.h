#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. The arguments are those left after Qt took
// its own (-platform, -style ...).
struct CommandLineRequest {
    // Run starts the program; Print writes the texts below and ends it with
    // exitCode, before any window exists.
    enum class Action { Run, Print };
    Action action = Action::Run;
    int exitCode = 0;
    QString standardOutput;
    QString standardError;
    // The folder --data-dir names; empty when the option is not given.
    QString dataFolder;
};

// Exit code of a command line the program does not understand.
inline constexpr int kUsageExitCode = 2;

// --help and --version print and end with 0 (--help-all, which adds Qt's own
// options, ends the process itself); an unknown option, a missing
// value or a stray argument prints the error and the usage to standard error
// and ends with kUsageExitCode.
CommandLineRequest ParseCommandLine(const QStringList& arguments);
