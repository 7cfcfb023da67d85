#include "store/ConnectionString.h"

#include <QDir>

#include "store/DatabaseError.h"

namespace store {
namespace {

const QString kProviderPiece = QStringLiteral("Provider=SQLCipher.3;Password=\"\";Data Source=");
const QString kSecurityPiece =
    QStringLiteral(";Persist Security Info=True;SQLCipher:Database Password=");

}  // namespace

QString CurrentAppDirectory() {
    QString dir = QDir::currentPath();
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/'))) {
        dir.chop(1);
    }
    return dir;
}

QString BuildConnectionString(const QString& appDirectory) {
    QString separator = appDirectory.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
    return kProviderPiece + appDirectory + separator + kDatabaseFileName + kSecurityPiece +
           kDatabasePassword;
}

ConnectionTarget ParseConnectionString(const QString& connectionString) {
    // The path may hold any character, ';' included, so it is cut between the
    // fixed pieces rather than split on separators.
    if (!connectionString.startsWith(kProviderPiece)) {
        throw DatabaseError(
            QStringLiteral("Provider cannot be found. It may not be properly installed."));
    }
    const qsizetype securityAt = connectionString.lastIndexOf(kSecurityPiece);
    if (securityAt < kProviderPiece.size()) {
        throw DatabaseError(QStringLiteral("The connection string names no database password."));
    }
    ConnectionTarget target;
    target.databasePath =
        connectionString.mid(kProviderPiece.size(), securityAt - kProviderPiece.size());
    target.password = connectionString.mid(securityAt + kSecurityPiece.size());
    if (target.databasePath.isEmpty()) {
        throw DatabaseError(QStringLiteral("The connection string names no data source."));
    }
    return target;
}

}  // namespace store
