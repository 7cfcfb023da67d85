#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

class Connection;

// One prepared statement, finalized when it goes out of scope so that no
// read transaction outlives the action that started it.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql);
    // On an open connection; throws when it is closed.
    Statement(const Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(const QVariantList& parameters);
    // Steps once; true while a row is available.
    bool step();
    // Runs to completion and returns the number of rows changed.
    int execute();

    int columnCount() const;
    QString columnName(int column) const;
    QString columnDeclaredType(int column) const;
    QString columnTable(int column) const;
    QString columnOrigin(int column) const;
    QVariant value(int column) const;
    // The column's text as UTF-8 bytes, without a copy: valid until the next
    // step. Empty for NULL.
    QByteArrayView utf8Text(int column) const;

    sqlite3_stmt* handle() const { return stmt_; }

private:
    [[noreturn]] void fail(int code) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
};

// Raises the connection's last error as a DatabaseError.
[[noreturn]] void ThrowEngineError(sqlite3* db);

// Quotes an identifier for a statement ("0800-0830" needs it).
QString QuoteIdentifier(const QString& name);

}  // namespace store
