#include "store/Connection.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QVector>

#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "store/FileFault.h"
#include "store/SqlFunctions.h"
#include "store/Statement.h"

namespace store {
namespace {

// Pinned so that a file written today stays readable by later engine
// versions whose defaults differ. Each setting is read back: an engine that
// ignores or refuses one would otherwise go unnoticed.
struct PinnedSetting {
    const char* name;
    const char* value;
    const char* expected;  // as the engine reads it back
};
constexpr PinnedSetting kCipherSettings[] = {
    {"cipher_page_size", "1024", "1024"},
    {"kdf_iter", "64000", "64000"},
    {"cipher_use_hmac", "ON", "1"},
};
// Data written by a post must survive a crash or a power cut.
constexpr PinnedSetting kSafetySettings[] = {
    {"journal_mode", "DELETE", "delete"},
    {"synchronous", "FULL", "2"},
};
// The pages are 1 KB, so the engine's default cache of 2 MB holds a few
// months of expenses: a search over years read and decrypted every page twice
// (its rows, then its sums). The cache grows only as pages are read. Work
// tables of a search stay in memory, never in a file beside the data.
const char* const kCacheSettings =
    "PRAGMA cache_size = -65536;"
    "PRAGMA temp_store = MEMORY;";
constexpr int kCipherPageSize = 1024;
constexpr int kMaxIdlePerFile = 4;

// Identifies the file itself, so that a file replaced under the same name is
// never served from a handle on the old one. Throws when there is no file to
// open: a missing file is never created, and an empty one would open as an
// empty database under any key.
QString FileIdentity(const QString& path, const QString& password) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        throw DatabaseError(QStringLiteral("Could not find file '%1'.").arg(path));
    }
    if (info.st_size == 0) {
        throw DatabaseError(EmptyFileMessage(path), DatabaseError::Kind::FileDamaged);
    }
    return QStringLiteral("%1|%2|%3|%4")
        .arg(path)
        .arg(qulonglong(info.st_dev))
        .arg(qulonglong(info.st_ino))
        .arg(password);
}

// The engine's result of reading the schema: SQLITE_OK when the key opens
// the file.
int ReadSchema(sqlite3* db) {
    return sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
}

bool IsLockResult(int code) {
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

[[noreturn]] void ThrowLocked(sqlite3* db, const QString& path) {
    const QString message = FileFaultMessage(sqlite3_extended_errcode(db), path);
    sqlite3_close(db);
    throw DatabaseError(message, DatabaseError::Kind::FileUnwritable);
}

[[noreturn]] void ThrowUnreadable(const QString& path) {
    QFile file(path);
    QByteArray head;
    qint64 size = -1;
    if (file.open(QIODevice::ReadOnly)) {
        size = file.size();
        head = file.read(16);
    }
    if (head.startsWith(QByteArrayLiteral("SQLite format 3"))) {
        throw DatabaseError(
            QStringLiteral("Unrecognized database format '%1': the file is not encrypted.")
                .arg(path));
    }
    if (size == 0) {
        throw DatabaseError(EmptyFileMessage(path), DatabaseError::Kind::FileDamaged);
    }
    if (size < 0 || size % kCipherPageSize != 0) {
        throw DatabaseError(QStringLiteral("Unrecognized database format '%1'.").arg(path));
    }
    throw DatabaseError(QStringLiteral("Not a valid password: '%1' cannot be opened.").arg(path));
}

// Sets a pragma and reads it back; throws naming the setting when the
// engine refused it or kept another value.
void ApplySetting(sqlite3* db, const QString& path, const PinnedSetting& setting) {
    const QByteArray set = QByteArray("PRAGMA ") + setting.name + " = " + setting.value;
    const QByteArray read = QByteArray("PRAGMA ") + setting.name;
    QString refusal;
    if (sqlite3_exec(db, set.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        refusal = QString::fromUtf8(sqlite3_errmsg(db));
    } else {
        sqlite3_stmt* stmt = nullptr;
        QString actual;
        if (sqlite3_prepare_v2(db, read.constData(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            actual = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        }
        sqlite3_finalize(stmt);
        if (actual.compare(QLatin1String(setting.expected), Qt::CaseInsensitive) != 0) {
            refusal = actual.isEmpty() ? QStringLiteral("δεν επιστράφηκε τιμή")
                                       : QStringLiteral("ισχύει «%1»").arg(actual);
        }
    }
    if (refusal.isEmpty()) {
        return;
    }
    sqlite3_close(db);
    throw DatabaseError(
        QStringLiteral("Η μηχανή της βάσης δεν δέχτηκε τη ρύθμιση «%1 = %2» για το αρχείο "
                       "«%3» (%4).\rΤο αρχείο δεν ανοίγει, ώστε να μη γραφτεί με άλλες ρυθμίσεις.")
            .arg(QLatin1String(setting.name), QLatin1String(setting.value),
                 QDir::toNativeSeparators(path), refusal));
}

sqlite3* OpenKeyed(const QString& path, const QString& password) {
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DatabaseError(QStringLiteral("Cannot open '%1': %2").arg(path, message));
    }
    sqlite3_busy_timeout(db, kLockWaitMs);
    const QByteArray key = password.toUtf8();
    if (sqlite3_key(db, key.constData(), int(key.size())) != SQLITE_OK) {
        sqlite3_close(db);
        throw DatabaseError(
            QStringLiteral("Η μηχανή της βάσης δεν δέχτηκε το κλειδί του αρχείου «%1».")
                .arg(QDir::toNativeSeparators(path)));
    }
    for (const PinnedSetting& setting : kCipherSettings) {
        ApplySetting(db, path, setting);
    }
    const int read = ReadSchema(db);
    if (IsLockResult(read)) {
        ThrowLocked(db, path);
    }
    if ((read & 0xff) == SQLITE_CORRUPT) {
        sqlite3_close(db);
        throw DatabaseError(DamagedFileMessage(path), DatabaseError::Kind::FileDamaged);
    }
    if (read != SQLITE_OK) {
        sqlite3_close(db);
        ThrowUnreadable(path);
    }
    for (const PinnedSetting& setting : kSafetySettings) {
        ApplySetting(db, path, setting);
    }
    sqlite3_exec(db, kCacheSettings, nullptr, nullptr, nullptr);
    RegisterSqlFunctions(db);
    return db;
}

class HandlePool {
public:
    ~HandlePool() {
        for (auto& handles : idle_) {
            for (sqlite3* db : handles) {
                sqlite3_close(db);
            }
        }
    }

    sqlite3* acquire(const QString& key, const QString& path, const QString& password) {
        QVector<sqlite3*>& handles = idle_[key];
        while (!handles.isEmpty()) {
            sqlite3* db = handles.takeLast();
            // The file may have been rewritten in place since the handle was
            // parked; a handle that no longer reads it is thrown away.
            const int read = ReadSchema(db);
            if (read == SQLITE_OK) {
                return db;
            }
            if (IsLockResult(read)) {
                ThrowLocked(db, path);
            }
            sqlite3_close(db);
        }
        return OpenKeyed(path, password);
    }

    void release(const QString& key, sqlite3* db) {
        QVector<sqlite3*>& handles = idle_[key];
        if (handles.size() >= kMaxIdlePerFile || sqlite3_get_autocommit(db) == 0) {
            sqlite3_close(db);
            return;
        }
        handles.append(db);
    }

    void discardIdle() {
        for (auto& handles : idle_) {
            for (sqlite3* db : handles) {
                sqlite3_close(db);
            }
        }
        idle_.clear();
    }

private:
    QHash<QString, QVector<sqlite3*>> idle_;
};

HandlePool& Pool() {
    static HandlePool pool;
    return pool;
}

}  // namespace

Connection::~Connection() {
    close();
    for (DataSet* dataSet : std::as_const(dataSets_)) {
        dataSet->forgetConnection();
    }
}

void Connection::setConnectionString(const QString& connectionString) {
    connectionString_ = connectionString;
}

void Connection::reopen(const QString& connectionString) {
    close();
    setConnectionString(connectionString);
    setCommandTimeout(0);
    setConnectionTimeout(0);
    open();
}

void Connection::open() {
    if (isOpen()) {
        return;
    }
    const ConnectionTarget target = ParseConnectionString(connectionString_);
    const QString key = FileIdentity(target.databasePath, target.password);
    db_ = Pool().acquire(key, target.databasePath, target.password);
    poolKey_ = key;
}

void Connection::close() {
    if (!isOpen()) {
        return;
    }
    const QList<DataSet*> dataSets = dataSets_;
    for (DataSet* dataSet : dataSets) {
        dataSet->close();
    }
    sqlite3* db = db_;
    db_ = nullptr;
    Pool().release(poolKey_, db);
    poolKey_.clear();
}

sqlite3* Connection::handle() const {
    if (!isOpen()) {
        throw DatabaseError(QStringLiteral("Operation is not allowed when the object is closed."));
    }
    return db_;
}

void Connection::attach(DataSet* dataSet) {
    if (!dataSets_.contains(dataSet)) {
        dataSets_.append(dataSet);
    }
}

void Connection::detach(DataSet* dataSet) {
    dataSets_.removeAll(dataSet);
}

void DiscardIdleHandles() {
    Pool().discardIdle();
}

sqlite3* OpenUnpooledHandle(const QString& path, const QString& password) {
    return OpenKeyed(path, password);
}

}  // namespace store
