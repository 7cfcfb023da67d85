#include "store/Command.h"

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/Statement.h"

namespace store {

int Command::execute() {
    if (connection_ == nullptr) {
        throw DatabaseError(QStringLiteral("The command has no connection."));
    }
    return Execute(*connection_, sql_, parameters_);
}

int Execute(Connection& connection, const QString& sql, const QVariantList& parameters) {
    Statement statement(connection.handle(), sql);
    statement.bind(parameters);
    return statement.execute();
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
