#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QUrl>

#include "app/ProductInfo.h"
#include "store/DataFolder.h"

namespace {

const QString kDescription = QStringLiteral(
    "A personal organizer: calendar with day tasks, notebook, contacts, expenses and sticky "
    "notes, kept in one encrypted database.\n\n"
    "The data folder holds data.mdb and the report layouts; it is ~/%1 unless %2 or --data-dir "
    "names another one (--data-dir wins). A missing folder is created and receives the empty "
    "database and the layouts; an existing file is never replaced.\n\n"
    "Without a window, after asking for the login password (or reading it from --password-file):\n"
    "  export ics|vcf|csv FILE [--from DATE] [--to DATE]\n"
    "      writes the day tasks and notes (ics), the contacts (vcf) or the expenses (csv);\n"
    "      --from and --to (yyyy-mm-dd or dd/mm/yyyy) limit the days of ics and csv\n"
    "  import ics|vcf|csv FILE\n"
    "      adds what the file holds; a malformed file adds nothing\n"
    "  sync --url URL --user USER [--password-file FILE] [--login-password-file FILE]\n"
    "       [--ca-file FILE]\n"
    "      publishes the day tasks to the CalDAV calendar URL/kavelo-organizer-tasks/ and\n"
    "      the contacts to the CardDAV address book URL/kavelo-organizer-contacts/; here\n"
    "      --password-file holds the server's password (never stored) and\n"
    "      --login-password-file the login password");

const QString kExportCommand = QStringLiteral("export");
const QString kImportCommand = QStringLiteral("import");
const QString kSyncCommand = QStringLiteral("sync");
const QString kSyncOptionsMessage =
    QStringLiteral("--url, --user, --login-password-file and --ca-file belong to sync.");
const QStringList kFormats{QStringLiteral("ics"), QStringLiteral("vcf"), QStringLiteral("csv")};

CommandLineRequest Print(int exitCode, const QString& output, const QString& error) {
    CommandLineRequest request;
    request.action = CommandLineRequest::Action::Print;
    request.exitCode = exitCode;
    request.standardOutput = output;
    request.standardError = error;
    return request;
}

CommandLineRequest UsageError(const QCommandLineParser& parser, const QString& error) {
    return Print(kUsageExitCode, QString(), error + QStringLiteral("\n\n") + parser.helpText());
}

QDate CommandLineDate(const QString& text) {
    const QDate iso = QDate::fromString(text, Qt::ISODate);
    return iso.isValid() ? iso : QDate::fromString(text, QStringLiteral("d/M/yyyy"));
}

struct TerminalOptions {
    QCommandLineOption from{QStringLiteral("from"),
                            QStringLiteral("export: the first day to write (yyyy-mm-dd)."),
                            QStringLiteral("date")};
    QCommandLineOption to{QStringLiteral("to"),
                          QStringLiteral("export: the last day to write (yyyy-mm-dd)."),
                          QStringLiteral("date")};
    QCommandLineOption passwordFile{
        QStringLiteral("password-file"),
        QStringLiteral("export/import: read the login password from the first line of <file>; "
                       "sync: the server's password."),
        QStringLiteral("file")};

    QCommandLineOption url{QStringLiteral("url"),
                           QStringLiteral("sync: the address of the user's collections."),
                           QStringLiteral("url")};
    QCommandLineOption user{QStringLiteral("user"), QStringLiteral("sync: the server's user."),
                            QStringLiteral("user")};
    QCommandLineOption loginPasswordFile{
        QStringLiteral("login-password-file"),
        QStringLiteral("sync: read the login password from the first line of <file>."),
        QStringLiteral("file")};
    QCommandLineOption caFile{
        QStringLiteral("ca-file"),
        QStringLiteral("sync: also trust the certificates (PEM) in <file>, for a server with a "
                       "certificate of its own."),
        QStringLiteral("file")};

    bool anySet(const QCommandLineParser& parser) const {
        return parser.isSet(from) || parser.isSet(to) || parser.isSet(passwordFile) ||
               syncSet(parser);
    }
    bool syncSet(const QCommandLineParser& parser) const {
        return parser.isSet(url) || parser.isSet(user) || parser.isSet(loginPasswordFile) ||
               parser.isSet(caFile);
    }
};

CommandLineRequest SyncCommand(const QCommandLineParser& parser, const TerminalOptions& options) {
    const QStringList words = parser.positionalArguments();
    if (words.size() > 1) {
        return UsageError(parser, QStringLiteral("Unexpected argument '%1'.").arg(words.at(1)));
    }
    if (parser.isSet(options.from) || parser.isSet(options.to)) {
        return UsageError(parser, QStringLiteral("--from and --to belong to export."));
    }
    const QUrl url(parser.value(options.url), QUrl::StrictMode);
    const bool web =
        url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    if (!url.isValid() || !web || url.host().isEmpty()) {
        return UsageError(parser, QStringLiteral("sync needs --url http(s)://server/path/."));
    }
    if (parser.value(options.user).isEmpty()) {
        return UsageError(parser, QStringLiteral("sync needs --user."));
    }
    CommandLineRequest request;
    request.action = CommandLineRequest::Action::Sync;
    request.url = url.toString();
    request.user = parser.value(options.user);
    request.passwordFile = parser.value(options.loginPasswordFile);
    request.serverPasswordFile = parser.value(options.passwordFile);
    request.caFile = parser.value(options.caFile);
    return request;
}

// The command, its format and file, and the options only they take.
CommandLineRequest TerminalCommand(const QCommandLineParser& parser,
                                   const TerminalOptions& options) {
    const QStringList words = parser.positionalArguments();
    const QString& command = words.constFirst();
    if (words.size() < 3) {
        return UsageError(
            parser,
            QStringLiteral("'%1' needs a format (ics, vcf or csv) and a file.").arg(command));
    }
    if (words.size() > 3) {
        return UsageError(parser, QStringLiteral("Unexpected argument '%1'.").arg(words.at(3)));
    }
    if (!kFormats.contains(words.at(1))) {
        return UsageError(parser,
                          QStringLiteral("Unknown format '%1': ics, vcf or csv.").arg(words.at(1)));
    }
    const bool dated = parser.isSet(options.from) || parser.isSet(options.to);
    if (options.syncSet(parser)) {
        return UsageError(parser, kSyncOptionsMessage);
    }
    if (dated && command == kImportCommand) {
        return UsageError(parser, QStringLiteral("--from and --to belong to export."));
    }
    if (dated && words.at(1) == QLatin1String("vcf")) {
        return UsageError(parser,
                          QStringLiteral("The contacts carry no date: --from and --to do not "
                                         "apply to vcf."));
    }
    CommandLineRequest request;
    request.action = command == kExportCommand ? CommandLineRequest::Action::Export
                                               : CommandLineRequest::Action::Import;
    request.format = words.at(1);
    request.file = words.at(2);
    request.passwordFile = parser.value(options.passwordFile);
    for (const auto& [option, date] :
         {std::pair{&options.from, &request.from}, std::pair{&options.to, &request.to}}) {
        if (parser.isSet(*option)) {
            *date = CommandLineDate(parser.value(*option));
            if (!date->isValid()) {
                return UsageError(parser,
                                  QStringLiteral("'%1' is not a date (yyyy-mm-dd or dd/mm/yyyy).")
                                      .arg(parser.value(*option)));
            }
        }
    }
    if (request.from.isValid() && request.to.isValid() && request.from > request.to) {
        return UsageError(parser, QStringLiteral("--from is after --to."));
    }
    return request;
}

}  // namespace

CommandLineRequest ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        kDescription.arg(store::kDefaultDataFolderName, store::kDataFolderVariable));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keep the data in <folder>."),
                                     QStringLiteral("folder"));
    parser.addOption(dataDir);
    const TerminalOptions terminal;
    parser.addOption(terminal.from);
    parser.addOption(terminal.to);
    parser.addOption(terminal.passwordFile);
    parser.addOption(terminal.url);
    parser.addOption(terminal.user);
    parser.addOption(terminal.loginPasswordFile);
    parser.addOption(terminal.caFile);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("export or import, then the format and the file; "
                                                "or sync."),
                                 QStringLiteral("[export|import FORMAT FILE | sync]"));

    if (!parser.parse(arguments)) {
        return UsageError(parser, parser.errorText());
    }
    const QStringList words = parser.positionalArguments();
    const bool terminalCommand = !words.isEmpty() && (words.constFirst() == kExportCommand ||
                                                      words.constFirst() == kImportCommand ||
                                                      words.constFirst() == kSyncCommand);
    if (!words.isEmpty() && !terminalCommand) {
        return UsageError(parser,
                          QStringLiteral("Unexpected argument '%1'.").arg(words.constFirst()));
    }
    if (parser.isSet(QStringLiteral("help-all"))) {
        // Only Qt itself can list its own options; it prints them and ends
        // the process with 0.
        parser.process(arguments);
    }
    if (parser.isSet(help)) {
        return Print(0, parser.helpText(), QString());
    }
    if (parser.isSet(version)) {
        return Print(0,
                     product::kProductName + QLatin1Char(' ') +
                         QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                     QString());
    }
    if (!terminalCommand && terminal.syncSet(parser)) {
        return UsageError(parser, kSyncOptionsMessage);
    }
    if (!terminalCommand && terminal.anySet(parser)) {
        return UsageError(parser, QStringLiteral("--from, --to and --password-file belong to a "
                                                 "command: export, import or sync."));
    }
    CommandLineRequest request = !terminalCommand ? CommandLineRequest()
                                 : words.constFirst() == kSyncCommand
                                     ? SyncCommand(parser, terminal)
                                     : TerminalCommand(parser, terminal);
    request.dataFolder = parser.value(dataDir);
    return request;
}
