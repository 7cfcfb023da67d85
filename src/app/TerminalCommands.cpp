#include "app/TerminalCommands.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "access/LoginPassword.h"
#include "app/TerminalPassword.h"
#include "interchange/Interchange.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataFolder.h"
#include "store/DatabaseError.h"
#include "store/InputText.h"

namespace {

constexpr int kTerminalFailure = 1;

void PrintTo(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int Fail(const QString& message) {
    PrintTo(stderr, QStringLiteral("kavelo-organizer: %1\n").arg(message));
    return kTerminalFailure;
}

// A line that rewrites itself in place, shown only on a terminal.
interchange::Progress TerminalProgress(const QString& doing) {
    if (isatty(STDERR_FILENO) == 0) {
        return {};
    }
    return [doing](qint64 done, qint64 total) {
        PrintTo(stderr, QStringLiteral("\r%1: %2 of %3").arg(doing).arg(done).arg(total));
        if (done == total) {
            PrintTo(stderr, QStringLiteral("\n"));
        }
    };
}

QString Summary(const CommandLineRequest& request, const interchange::Outcome& outcome) {
    const bool exporting = request.action == CommandLineRequest::Action::Export;
    QString text = QStringLiteral("%1 %2 %3 %4; %5 skipped.\n")
                       .arg(exporting ? QStringLiteral("Wrote") : QStringLiteral("Read"))
                       .arg(outcome.written)
                       .arg(outcome.written == 1 ? QStringLiteral("item") : QStringLiteral("items"))
                       .arg((exporting ? QStringLiteral("to %1") : QStringLiteral("from %1"))
                                .arg(QDir::toNativeSeparators(request.file)))
                       .arg(outcome.skipped);
    for (const QString& note : outcome.notes) {
        text += QStringLiteral("  %1\n").arg(note);
    }
    return text;
}

// The login window's rule: no stored password opens nothing.
std::optional<QString> CheckLoginPassword(store::Connection& connection,
                                          const CommandLineRequest& request) {
    const int stored =
        store::ScalarQuery(connection, QStringLiteral("select count(*) from ADMINISTRATOR_ACCOUNT"))
            .toInt();
    if (stored == 0) {
        return QStringLiteral(
            "access denied: no password has been set yet (start the program once to set it)");
    }
    QString error;
    const std::optional<QString> password = ReadTerminalPassword(request.passwordFile, error);
    if (!password) {
        return QStringLiteral("access denied: %1").arg(error);
    }
    const QString text = TrimInputText(*password);
    if (text.isEmpty() || accesscontrol::CountMatchingPasswords(connection, text) == 0) {
        return QStringLiteral("access denied: wrong password");
    }
    return std::nullopt;
}

int RunInterchange(store::Connection& connection, const CommandLineRequest& request,
                   const QString& file) {
    const interchange::Format format = *interchange::FormatNamed(request.format);
    const bool exporting = request.action == CommandLineRequest::Action::Export;
    try {
        const interchange::Outcome outcome =
            exporting
                ? interchange::ExportFile(connection, format, file, {request.from, request.to},
                                          TerminalProgress(QStringLiteral("Writing")))
                : interchange::ImportFile(connection, format, file,
                                          TerminalProgress(QStringLiteral("Reading")));
        PrintTo(stdout, Summary(request, outcome));
        return 0;
    } catch (const std::exception& error) {
        return Fail(exporting ? QStringLiteral("export to %1 failed: %2")
                                    .arg(request.file, QString::fromStdString(error.what()))
                              : QStringLiteral("%1: %2; nothing was imported")
                                    .arg(request.file, QString::fromStdString(error.what())));
    }
}

}  // namespace

bool IsTerminalCommand(const CommandLineRequest& request) {
    return request.action == CommandLineRequest::Action::Export ||
           request.action == CommandLineRequest::Action::Import;
}

int RunTerminalCommand(const CommandLineRequest& request) {
    // The files are named relative to where the command was given, not to
    // the data folder the command then works in.
    const QString file = QFileInfo(request.file).absoluteFilePath();
    CommandLineRequest located = request;
    if (!request.passwordFile.isEmpty()) {
        located.passwordFile = QFileInfo(request.passwordFile).absoluteFilePath();
    }
    const QString folder = store::ChooseDataFolder(
        request.dataFolder, qEnvironmentVariable(qPrintable(store::kDataFolderVariable)),
        QDir::homePath());
    if (!QFileInfo(QDir(folder).filePath(store::kDatabaseFileName)).isFile()) {
        return Fail(QStringLiteral("no data in %1 (%2 is missing)")
                        .arg(QDir::toNativeSeparators(folder), store::kDatabaseFileName));
    }
    if (!QDir::setCurrent(folder)) {
        return Fail(QStringLiteral("cannot work in the data folder %1")
                        .arg(QDir::toNativeSeparators(folder)));
    }
    store::Connection connection;
    try {
        connection.reopen(store::BuildConnectionString(store::CurrentAppDirectory()));
        if (const std::optional<QString> refusal = CheckLoginPassword(connection, located)) {
            return Fail(*refusal);
        }
    } catch (const store::DatabaseError& error) {
        return Fail(error.message());
    }
    return RunInterchange(connection, request, file);
}
