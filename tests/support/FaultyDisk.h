#pragma once

#include <QString>

namespace testsupport {

// A file layer under the database engine that plays the faults of a real
// disk on the files of one database (the file and its journal), for tests
// only. It wraps the engine's default file layer and becomes the default
// itself once installed, so that the program's own connections go through
// it. While no fault is armed it only passes calls through.
//
// The tests run as root, where file modes stop no write: a read-only file
// or folder is played here the way the engine meets it (a file that opens
// only for reading, a journal that cannot be created).
namespace faultydisk {

enum class Fault {
    None,
    DiskFull,        // from the nth write on, every write fails: SQLITE_FULL
    IoError,         // from the nth write on, every write fails: SQLITE_IOERR_WRITE
    ReadOnlyFile,    // the database opens for reading only (new handles)
    ReadOnlyFolder,  // no new file (the journal) can be created beside it
};

// Registers the layer as the engine's default; later calls do nothing.
void Install();

// Arms fault for the database at databasePath; nthWrite counts the writes
// to the database and its journal from now on, 1 the first.
void Arm(Fault fault, const QString& databasePath, int nthWrite = 1);
// Makes the layer answer a pragma of the database itself with value, as an
// engine that keeps its own setting would (set and read alike).
void ForcePragma(const QString& databasePath, const QString& pragma, const QString& value);
// Ends every fault and forced pragma.
void Disarm();

// The writes refused since the fault was armed.
int RefusedWrites();
// The writes to the database and its journal since Arm (refused or not).
int WritesSeen();

}  // namespace faultydisk
}  // namespace testsupport
