#pragma once

#include <QDate>
#include <QString>

namespace store {

// Backups live in backups/ beside data.mdb, one a day, named by that day:
// backups/data-2026-03-14.mdb. The newest kBackupsKept are kept.
inline const QString kBackupFolderName = QStringLiteral("backups");
inline constexpr int kBackupsKept = 10;

// The backup of day for the database at databasePath.
QString BackupPath(const QString& databasePath, const QDate& day);

enum class BackupResult { Made, AlreadyMadeToday };

// Makes today's backup of the database the connection string names, unless
// it exists already. The copy is made through the engine's online backup
// from a keyed connection into a file keyed with the same password, under a
// temporary name; only once it opens with the password, passes the engine's
// integrity check and holds the same schema does it take its dated name, and
// only then are the oldest backups beyond kBackupsKept removed. The database
// itself is only read. Throws DatabaseError naming the problem and the file;
// a failed attempt leaves no partial file behind.
BackupResult BackUpDatabase(const QString& connectionString, const QDate& today);

}  // namespace store
