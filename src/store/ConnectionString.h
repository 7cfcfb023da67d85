#pragma once

#include <QString>

namespace store {

inline const QString kDatabaseFileName = QStringLiteral("data.mdb");
// The database-level password that encrypts data.mdb. It is not the user's
// login password, which is user data kept in ADMINISTRATOR_ACCOUNT.
inline const QString kDatabasePassword = QStringLiteral("QT73Nw");

// The working directory as the system reports it, without a trailing
// separator except at the root.
QString CurrentAppDirectory();

// Joins the five fixed pieces: provider and empty user password, the data
// source path (directory + "/data.mdb"), and the database password.
QString BuildConnectionString(const QString& appDirectory);

struct ConnectionTarget {
    QString databasePath;
    QString password;
};

// Reads the data source and the database password back out of a connection
// string; throws DatabaseError when the string lacks either.
ConnectionTarget ParseConnectionString(const QString& connectionString);

}  // namespace store
