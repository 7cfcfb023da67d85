#pragma once

#include <QList>
#include <QString>

struct sqlite3;

namespace store {

class DataSet;

// A connection to data.mdb with the opening pattern every window follows:
// close, set the string, set both time-outs, open. Opening hands out an
// already keyed engine handle from a per-file pool, so the key derivation is
// paid once per run and file, not at every open; closing returns the handle.
//
// The connection knows every data set that uses it. Going away, it closes
// them and leaves them without a connection, so that a set and its
// connection may be destroyed in either order.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(const QString& connectionString);
    const QString& connectionString() const { return connectionString_; }
    // Zero means no limit, as everywhere in the program.
    void setCommandTimeout(int seconds) { commandTimeout_ = seconds; }
    void setConnectionTimeout(int seconds) { connectionTimeout_ = seconds; }
    int commandTimeout() const { return commandTimeout_; }
    int connectionTimeout() const { return connectionTimeout_; }
    // SQLite lets every connection of the process share the file; the mode is
    // kept so that the windows state what they ask for.
    void setShareDenyNone(bool shareDenyNone) { shareDenyNone_ = shareDenyNone; }
    bool shareDenyNone() const { return shareDenyNone_; }

    // Throws DatabaseError naming the problem: no file (never created), wrong
    // password, not a database.
    void open();
    // Closes the data sets opened on it (dropping unposted edits) and gives
    // the handle back. Closing a closed connection does nothing.
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // The engine handle of an open connection; throws when closed.
    sqlite3* handle() const;

    // Shorthand for the pattern: close, set the string, time-outs 0, open.
    void reopen(const QString& connectionString);

private:
    friend class DataSet;
    // A data set attaches when it is given the connection, open or not.
    void attach(DataSet* dataSet);
    void detach(DataSet* dataSet);

    QString connectionString_;
    QString poolKey_;
    int commandTimeout_ = 30;
    int connectionTimeout_ = 15;
    bool shareDenyNone_ = false;
    sqlite3* db_ = nullptr;
    QList<DataSet*> dataSets_;
};

// Drops every idle pooled handle (tests that replace a file in place use it).
void DiscardIdleHandles();

// A handle of its own on an existing file, keyed and set up exactly as a
// pooled one, but never pooled: for copies of the database that are written,
// checked and renamed (backups). The caller closes it with sqlite3_close.
// Throws DatabaseError as Connection::open does.
sqlite3* OpenUnpooledHandle(const QString& path, const QString& password);

}  // namespace store
