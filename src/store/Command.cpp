#include "store/Command.h"

#include <sqlite3.h>

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/FileFault.h"
#include "store/Statement.h"

namespace store {

int Command::execute() {
    if (connection_ == nullptr) {
        throw DatabaseError(QStringLiteral("The command has no connection."));
    }
    return Execute(*connection_, sql_, parameters_);
}

int Execute(Connection& connection, const QString& sql, const QVariantList& parameters) {
    sqlite3* db = connection.handle();
    Statement statement(db, sql);
    statement.bind(parameters);
    if (!sqlite3_stmt_readonly(statement.handle())) {
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
