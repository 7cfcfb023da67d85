#include "store/Backup.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <memory>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DatabaseError.h"
#include "store/Statement.h"

namespace store {
namespace {

const QString kBackupNameFormat = QStringLiteral("data-%1.mdb");
const QString kUnfinishedBackupSuffix = QStringLiteral(".part");

struct HandleCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using OwnedHandle = std::unique_ptr<sqlite3, HandleCloser>;

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Owner-only like the data folder: the backups hold the same data.
void MakeBackupFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        throw DatabaseError(
            QStringLiteral("Cannot make a backup: '%1' is not a folder.").arg(Shown(folder)));
    }
    if (info.exists()) {
        return;
    }
    if (!QDir().mkpath(folder)) {
        throw DatabaseError(
            QStringLiteral("Cannot create the backup folder '%1'.").arg(Shown(folder)));
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The engine would create the file readable by everyone; it is created
// empty and private first, and the engine fills it.
void CreatePrivateEmptyFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        throw DatabaseError(QStringLiteral("Cannot write the backup '%1': %2")
                                .arg(Shown(path), file.errorString()));
    }
}

int SchemaEntries(sqlite3* db) {
    Statement count(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    count.step();
    return count.value(0).toInt();
}

// Page by page through the engine, which reads a consistent state of the
// file even while it is in use; a copy of the file's bytes could catch a
// write half done.
void CopyDatabase(sqlite3* source, const QString& sourcePath, const QString& target,
                  const QString& password) {
    const QString failed = QStringLiteral("Cannot copy '%1' into the backup '%2': %3")
                               .arg(Shown(sourcePath), Shown(target));
    CreatePrivateEmptyFile(target);
    const OwnedHandle copy(OpenUnpooledHandle(target, password));
    sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", source, "main");
    if (backup == nullptr) {
        throw DatabaseError(failed.arg(QString::fromUtf8(sqlite3_errmsg(copy.get()))));
    }
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    const int failure = stepped != SQLITE_DONE ? stepped : finished;
    if (failure != SQLITE_DONE && failure != SQLITE_OK) {
        throw DatabaseError(failed.arg(QString::fromUtf8(sqlite3_errstr(failure))));
    }
}

// A fresh connection derives the key again from the password, so a copy
// that passes can be restored by a user who knows nothing but the password.
void CheckBackup(const QString& sourcePath, const QString& path, const QString& password,
                 int expectedSchemaEntries) {
    const OwnedHandle copy(OpenUnpooledHandle(path, password));
    QStringList findings;
    {
        Statement check(copy.get(), QStringLiteral("PRAGMA integrity_check"));
        while (check.step()) {
            findings.append(check.value(0).toString());
        }
    }
    if (findings != QStringList{QStringLiteral("ok")}) {
        throw DatabaseError(
            QStringLiteral("The backup '%1' of '%2' failed the integrity check: %3")
                .arg(Shown(path), Shown(sourcePath), findings.join(QStringLiteral("; "))));
    }
    if (SchemaEntries(copy.get()) != expectedSchemaEntries) {
        throw DatabaseError(QStringLiteral("The backup '%1' does not hold the tables of '%2'.")
                                .arg(Shown(path), Shown(sourcePath)));
    }
}

// The newest by the day in their names; the one just made is always kept,
// even when the clock was set back and older days look newer.
void RemoveOldestBackups(const QString& folder, const QString& justMade) {
    static const QRegularExpression backupName(QStringLiteral(R"(^data-\d{4}-\d{2}-\d{2}\.mdb$)"));
    QDir dir(folder);
    QStringList others;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name | QDir::Reversed)) {
        if (backupName.match(name).hasMatch() && name != justMade) {
            others.append(name);
        }
    }
    // A backup that cannot be removed costs room, never data: it stays.
    for (qsizetype i = kBackupsKept - 1; i < others.size(); ++i) {
        dir.remove(others.at(i));
    }
}

}  // namespace

QString BackupPath(const QString& databasePath, const QDate& day) {
    const QDir folder(QFileInfo(databasePath).dir().filePath(kBackupFolderName));
    return folder.filePath(kBackupNameFormat.arg(day.toString(Qt::ISODate)));
}

BackupResult BackUpDatabase(const QString& connectionString, const QDate& today) {
    const ConnectionTarget target = ParseConnectionString(connectionString);
    const QString backupPath = BackupPath(target.databasePath, today);
    if (QFileInfo::exists(backupPath)) {
        return BackupResult::AlreadyMadeToday;
    }
    const QString folder = QFileInfo(backupPath).path();
    MakeBackupFolder(folder);
    const QString unfinished = backupPath + kUnfinishedBackupSuffix;
    try {
        Connection source;
        source.reopen(connectionString);
        const int schemaEntries = SchemaEntries(source.handle());
        CopyDatabase(source.handle(), target.databasePath, unfinished, target.password);
        source.close();
        CheckBackup(target.databasePath, unfinished, target.password, schemaEntries);
        if (!QFile::rename(unfinished, backupPath)) {
            throw DatabaseError(
                QStringLiteral("Cannot give the backup its name '%1'.").arg(Shown(backupPath)));
        }
    } catch (...) {
        QFile::remove(unfinished);
        throw;
    }
    RemoveOldestBackups(folder, QFileInfo(backupPath).fileName());
    return BackupResult::Made;
}

}  // namespace store
