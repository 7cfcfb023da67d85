#include "store/Command.h"

#include <sqlite3.h>

#include <cstring>

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/FileFault.h"
#include "store/Statement.h"

namespace store {
namespace {

// Tells, while a statement is prepared, whether it writes anything but the
// connection's temporary tables: those live outside data.mdb, so a statement
// that writes only them is no write to the file and never pays its check. A
// statement the engine tells nothing of counts as a write to the file.
class FileWriteWatch {
public:
    explicit FileWriteWatch(sqlite3* db) : db_(db) {
        sqlite3_set_authorizer(db_, &NoteAction, this);
    }
    ~FileWriteWatch() { stop(); }
    FileWriteWatch(const FileWriteWatch&) = delete;
    FileWriteWatch& operator=(const FileWriteWatch&) = delete;

    void stop() {
        if (db_ != nullptr) {
            sqlite3_set_authorizer(db_, nullptr, nullptr);
            db_ = nullptr;
        }
    }
    bool writesFile() const { return fileWrite_ || !tempWrite_; }

private:
    static int NoteAction(void* self, int action, const char*, const char*, const char* database,
                          const char*) {
        auto* watch = static_cast<FileWriteWatch*>(self);
        switch (action) {
            case SQLITE_READ:
            case SQLITE_SELECT:
            case SQLITE_FUNCTION:
            case SQLITE_RECURSIVE:
                break;
            case SQLITE_CREATE_TEMP_TABLE:
            case SQLITE_CREATE_TEMP_INDEX:
            case SQLITE_DROP_TEMP_TABLE:
            case SQLITE_DROP_TEMP_INDEX:
                watch->tempWrite_ = true;
                break;
            case SQLITE_INSERT:
            case SQLITE_UPDATE:
            case SQLITE_DELETE:
                if (database != nullptr && std::strcmp(database, "temp") == 0) {
                    watch->tempWrite_ = true;
                    break;
                }
                [[fallthrough]];
            default:
                watch->fileWrite_ = true;
        }
        return SQLITE_OK;
    }

    sqlite3* db_;
    bool tempWrite_ = false;
    bool fileWrite_ = false;
};

}  // namespace

int Command::execute() {
    if (connection_ == nullptr) {
        throw DatabaseError(QStringLiteral("The command has no connection."));
    }
    return Execute(*connection_, sql_, parameters_);
}

int Execute(Connection& connection, const QString& sql, const QVariantList& parameters) {
    sqlite3* db = connection.handle();
    FileWriteWatch watch(db);
    Statement statement(db, sql);
    watch.stop();
    statement.bind(parameters);
    if (!sqlite3_stmt_readonly(statement.handle()) && watch.writesFile()) {
        RequireIntactFile(db);
    }
    // The engine counts COMMIT and ROLLBACK as read-only: the end of a write
    // transaction is looked for after any statement.
    try {
        const int changed = statement.execute();
        NoteOwnWriteEnded(db);
        return changed;
    } catch (const DatabaseError& error) {
        // A refused row leaves the file as it was.
        if (error.kind() == DatabaseError::Kind::RowRefused) {
            NoteOwnWriteEnded(db);
        } else {
            ForgetIntactFile(db);
        }
        throw;
    } catch (...) {
        ForgetIntactFile(db);
        throw;
    }
}

int Command::executeEnsuringRow() {
    try {
        return execute();
    } catch (const DatabaseError& error) {
        if (error.kind() == DatabaseError::Kind::RowRefused) {
            return 0;
        }
        throw;
    }
}

QVariant ScalarQuery(Connection& connection, const QString& sql, const QVariantList& parameters) {
    Statement statement(connection.handle(), sql);
    statement.bind(parameters);
    if (!statement.step()) {
        return {};
    }
    return statement.value(0);
}

}  // namespace store
