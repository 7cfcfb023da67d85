#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "app/ProductInfo.h"
#include "store/DataFolder.h"

namespace {

const QString kDescription = QStringLiteral(
    "A personal organizer: calendar with day tasks, notebook, contacts, expenses and sticky "
    "notes, kept in one encrypted database.\n\n"
    "The data folder holds data.mdb and the report layouts; it is ~/%1 unless %2 or --data-dir "
    "names another one (--data-dir wins). A missing folder is created and receives the empty "
    "database and the layouts; an existing file is never replaced.");

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

    if (!parser.parse(arguments)) {
        return UsageError(parser, parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(parser, QStringLiteral("Unexpected argument '%1'.")
                                      .arg(parser.positionalArguments().constFirst()));
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
    CommandLineRequest request;
    request.dataFolder = parser.value(dataDir);
    return request;
}
