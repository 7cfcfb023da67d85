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
// database. Every write runs it first, inside its transaction: a damaged
// file is never written to, whatever page the write would touch.
//
// The first write of a handle reads every page from the disk, not from the
// handle's cache, so that a damage made since the pages were cached is
// found. Later writes read the file again only when it has changed since:
// its stamp (FileStamp) differs from the one taken when the handle last read
// it in full or last committed its own write, or another connection has
// committed to it since that read.
void RequireIntactFile(sqlite3* db);

// After a statement of db succeeded, or was refused as a row: when it ended
// the handle's write transaction, the file as it is now is the one the
// handle checked and then wrote itself, and its stamp is kept.
void NoteOwnWriteEnded(sqlite3* db);

// After a write of db failed otherwise: the next write reads the file in
// full.
void ForgetIntactFile(sqlite3* db);

// The file of the connection's main database.
QString DatabaseFileOf(sqlite3* db);

}  // namespace store
