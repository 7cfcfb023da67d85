#include "app/TerminalCommands.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QSslCertificate>
#include <cstdio>
#include <memory>

#include "access/LoginPassword.h"
#include "app/TerminalPassword.h"
#include "interchange/DavPublisher.h"
#include "interchange/Interchange.h"
#include "interchange/SyncError.h"
#include "interchange/SyncItems.h"
#include "interchange/SyncState.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataFolder.h"
#include "store/DataFolderLock.h"
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

struct Collection {
    const char* name;
    interchange::CollectionKind kind;
    const char* what;
};

// The collections a publication keeps, under the address the user gives.
const Collection kCollections[] = {
    {"kavelo-organizer-tasks/", interchange::CollectionKind::Calendar, "day tasks and notes"},
    {"kavelo-organizer-contacts/", interchange::CollectionKind::AddressBook, "contacts"},
};

QString PublishLine(const Collection& collection, const interchange::PublishCounts& counts) {
    QString line = QStringLiteral("%1: %2 created, %3 updated, %4 unchanged, %5 deleted.\n")
                       .arg(QLatin1String(collection.what))
                       .arg(counts.created)
                       .arg(counts.updated)
                       .arg(counts.unchanged)
                       .arg(counts.deleted);
    for (const QString& uid : counts.conflicts) {
        line += QStringLiteral(
                    "  %1: changed on the server since the last sync; left as the "
                    "server has it\n")
                    .arg(uid);
    }
    for (const QString& refused : counts.refused) {
        line += QStringLiteral("  %1: refused by the server\n").arg(refused);
    }
    return line;
}

QList<interchange::DavItem> ItemsOf(store::Connection& connection, const Collection& collection) {
    return collection.kind == interchange::CollectionKind::Calendar
               ? interchange::CalendarItems(connection)
               : interchange::ContactItems(connection);
}

// Plain http shows the password to every machine on the way; said once,
// not refused, as a server in the same house may well speak only http.
void WarnWhenUnencrypted(const QUrl& url) {
    const QHostAddress address(url.host());
    const bool local = url.host() == QLatin1String("localhost") || address.isLoopback();
    if (url.scheme() == QLatin1String("http") && !local) {
        PrintTo(stderr, QStringLiteral("kavelo-organizer: warning: the server's password goes to "
                                       "%1 unencrypted (http)\n")
                            .arg(url.host()));
    }
}

// What each collection received is recorded as soon as it is known, so that
// a sync cut short by the server is taken up where it stopped.
int RunSync(store::Connection& connection, const CommandLineRequest& request,
            const QString& folder) {
    QList<QSslCertificate> authorities;
    if (!request.caFile.isEmpty()) {
        authorities = QSslCertificate::fromPath(request.caFile, QSsl::Pem);
        if (authorities.isEmpty()) {
            return Fail(QStringLiteral("no certificate (PEM) can be read from %1")
                            .arg(QDir::toNativeSeparators(request.caFile)));
        }
    }
    QString error;
    const std::optional<QString> password =
        ReadTerminalPassword(request.serverPasswordFile, error, "Server password: ");
    if (!password) {
        return Fail(QStringLiteral("no server password: %1").arg(error));
    }
    const QString statePath = interchange::SyncStatePath(folder);
    QUrl home(request.url);
    if (!home.path().endsWith(QLatin1Char('/'))) {
        home.setPath(home.path() + QLatin1Char('/'));
    }
    WarnWhenUnencrypted(home);
    try {
        interchange::SyncState state = interchange::SyncState::Load(statePath);
        interchange::DavSession session(request.user, *password, authorities);
        for (const Collection& collection : kCollections) {
            const QUrl url = home.resolved(QUrl(QLatin1String(collection.name)));
            const QList<interchange::DavItem> items = ItemsOf(connection, collection);
            interchange::PublishCounts counts;
            try {
                counts = interchange::Publish(
                    session, url, collection.kind, items, state.collection(url.toString()),
                    TerminalProgress(
                        QStringLiteral("Publishing the %1").arg(QLatin1String(collection.what))));
            } catch (const interchange::SyncError&) {
                state.save(statePath);
                throw;
            }
            state.save(statePath);
            PrintTo(stdout, PublishLine(collection, counts));
        }
        return 0;
    } catch (const interchange::SyncError& failure) {
        return Fail(QStringLiteral("sync with %1 failed: %2")
                        .arg(home.toString(QUrl::RemovePassword), failure.message()));
    } catch (const std::exception& failure) {
        return Fail(QStringLiteral("sync failed: %1").arg(QString::fromStdString(failure.what())));
    }
}

// An import writes rows that the windows of a running program may hold and
// write back whole: it waits until that program has ended.
std::unique_ptr<store::DataFolderLock> ClaimForImport(const QString& folder) {
    auto lock = std::make_unique<store::DataFolderLock>(folder);
    if (lock->state() == store::DataFolderLock::State::HeldByAnother) {
        return nullptr;
    }
    return lock;
}

// The files a command names are relative to where it was given, not to the
// data folder it then works in.
CommandLineRequest WithAbsolutePaths(const CommandLineRequest& request) {
    CommandLineRequest located = request;
    for (QString* path :
         {&located.file, &located.passwordFile, &located.serverPasswordFile, &located.caFile}) {
        if (!path->isEmpty()) {
            *path = QFileInfo(*path).absoluteFilePath();
        }
    }
    return located;
}

}  // namespace

bool IsTerminalCommand(const CommandLineRequest& request) {
    return request.action == CommandLineRequest::Action::Export ||
           request.action == CommandLineRequest::Action::Import ||
           request.action == CommandLineRequest::Action::Sync;
}

int RunTerminalCommand(const CommandLineRequest& given) {
    const CommandLineRequest request = WithAbsolutePaths(given);
    // Absolute, as the command works inside it from here on.
    const QString folder =
        QDir(store::ChooseDataFolder(request.dataFolder,
                                     qEnvironmentVariable(qPrintable(store::kDataFolderVariable)),
                                     QDir::homePath()))
            .absolutePath();
    if (!QFileInfo(QDir(folder).filePath(store::kDatabaseFileName)).isFile()) {
        return Fail(QStringLiteral("no data in %1 (%2 is missing)")
                        .arg(QDir::toNativeSeparators(folder), store::kDatabaseFileName));
    }
    if (!QDir::setCurrent(folder)) {
        return Fail(QStringLiteral("cannot work in the data folder %1")
                        .arg(QDir::toNativeSeparators(folder)));
    }
    std::unique_ptr<store::DataFolderLock> lock;
    if (request.action == CommandLineRequest::Action::Import) {
        lock = ClaimForImport(folder);
        if (lock == nullptr) {
            return Fail(QStringLiteral("the organizer is running on %1: close it, then import")
                            .arg(QDir::toNativeSeparators(folder)));
        }
    }
    store::Connection connection;
    try {
        connection.reopen(store::BuildConnectionString(store::CurrentAppDirectory()));
        if (const std::optional<QString> refusal = CheckLoginPassword(connection, request)) {
            return Fail(*refusal);
        }
    } catch (const store::DatabaseError& error) {
        return Fail(error.message());
    }
    if (request.action == CommandLineRequest::Action::Sync) {
        return RunSync(connection, request, folder);
    }
    return RunInterchange(connection, given, request.file);
}
