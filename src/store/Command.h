#pragma once

#include <QString>
#include <QVariantList>

namespace store {

class Connection;

// One statement with bound parameters, run against an open connection.
class Command {
public:
    explicit Command(Connection* connection = nullptr) : connection_(connection) {}

    void setConnection(Connection* connection) { connection_ = connection; }
    void setCommandText(const QString& sql) { sql_ = sql; }
    const QString& commandText() const { return sql_; }
    void setParameters(const QVariantList& parameters) { parameters_ = parameters; }

    // Runs the statement; returns the number of rows it changed. Throws
    // DatabaseError with the engine's message on failure.
    int execute();
    // Runs an insert whose only purpose is to make sure a row exists: a row
    // there already (the insert refused on the key) is no failure and
    // changes nothing. Any other failure (a read-only, locked, full or
    // damaged file) throws, so that the caller can tell the user why the
    // row cannot be written instead of letting typed values go nowhere.
    int executeEnsuringRow();

private:
    Connection* connection_;
    QString sql_;
    QVariantList parameters_;
};

// Runs one statement on an open connection.
int Execute(Connection& connection, const QString& sql, const QVariantList& parameters = {});

// Runs a one-value query ("select count(*) ...") and returns that value.
QVariant ScalarQuery(Connection& connection, const QString& sql,
                     const QVariantList& parameters = {});

}  // namespace store
