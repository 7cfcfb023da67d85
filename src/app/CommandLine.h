#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// What the command line asks for. The arguments are those left after Qt took
// its own (-platform, -style ...).
struct CommandLineRequest {
    // Run starts the program; Print writes the texts below and ends it with
    // exitCode, before any window exists; Export and Import run in the
    // terminal and start no window.
    enum class Action { Run, Print, Export, Import, Sync };
    Action action = Action::Run;
    int exitCode = 0;
    QString standardOutput;
    QString standardError;
    // The folder --data-dir names; empty when the option is not given.
    QString dataFolder;
    // Export and Import: the format ("ics", "vcf" or "csv"), the file, the
    // days an export covers (a null date leaves that end open) and the
    // file that holds the login password (empty: ask for it).
    QString format;
    QString file;
    QDate from;
    QDate to;
    QString passwordFile;
    // Sync: the server's address of the user's collections, the user, the
    // file that holds the server's password (empty: ask for it) and a file
    // of certificates to trust besides the system's (empty: none). Sync
    // reads the login password from passwordFile too.
    QString url;
    QString user;
    QString serverPasswordFile;
    QString caFile;
};

// Exit code of a command line the program does not understand.
inline constexpr int kUsageExitCode = 2;

// export FORMAT FILE [--from DATE] [--to DATE] and import FORMAT FILE ask
// for Export and Import; a date is yyyy-mm-dd or dd/mm/yyyy. sync --url URL
// --user USER asks for Sync; there --password-file names the server's
// password and --login-password-file the login password.
// --help and --version print and end with 0 (--help-all, which adds Qt's own
// options, ends the process itself); an unknown option, a missing
// value or a stray argument prints the error and the usage to standard error
// and ends with kUsageExitCode.
CommandLineRequest ParseCommandLine(const QStringList& arguments);
