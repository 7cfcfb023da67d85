#pragma once

#include <QString>

struct sqlite3;

namespace store {

// How long a statement waits for another program's lock on the file before
// it gives up. The wait runs on the window's thread and freezes the window,
// so it is kept short: one second covers another program's ordinary write,
// and the message that follows lets the user try again.
inline constexpr int kLockWaitMs = 1000;

// The program's message for an engine result that says the file, not the
// statement, is at fault (full disk, I/O error, read-only file or folder,
// locked, damaged); empty for any other result. extendedCode is the engine's
// extended result code, path the database file.
QString FileFaultMessage(int extendedCode, const QString& path);

// The message for a file whose content is not a sound database, and for one
// that is empty.
QString DamagedFileMessage(const QString& path);
QString EmptyFileMessage(const QString& path);

// Throws DatabaseError unless the file under db is an intact, non-empty
// database. It reads every page from the disk, not from the connection's
// cache, so that a damage made since the pages were cached is found. Every
// write runs it first, inside its transaction: a damaged file is never
// written to, whatever page the write would touch.
void RequireIntactFile(sqlite3* db);

// The file of the connection's main database.
QString DatabaseFileOf(sqlite3* db);

}  // namespace store
