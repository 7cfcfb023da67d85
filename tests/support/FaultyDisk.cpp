#include "FaultyDisk.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QFile>
#include <cstring>

namespace testsupport::faultydisk {
namespace {

struct State {
    Fault fault = Fault::None;
    QByteArray databasePath;
    int nthWrite = 1;
    int writesSeen = 0;
    int refusedWrites = 0;
    QByteArray pragma;
    QByteArray pragmaValue;
};

State& Current() {
    static State state;
    return state;
}

// The file as the engine sees it, followed in memory by the default
// layer's own file object.
struct ShimFile {
    sqlite3_file base;
    bool watched;
    bool mainDatabase;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

ShimFile* Shim(sqlite3_file* file) {
    return reinterpret_cast<ShimFile*>(file);
}

sqlite3_vfs& RealVfs() {
    static sqlite3_vfs* real = sqlite3_vfs_find(nullptr);
    return *real;
}

bool IsWatched(const char* name) {
    const State& state = Current();
    return name != nullptr && !state.databasePath.isEmpty() &&
           std::strncmp(name, state.databasePath.constData(), size_t(state.databasePath.size())) ==
               0;
}

int ShimClose(sqlite3_file* file) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xClose(real);
}

int ShimRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xRead(real, buffer, amount, offset);
}

int ShimWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    State& state = Current();
    if (Shim(file)->watched && (state.fault == Fault::DiskFull || state.fault == Fault::IoError)) {
        ++state.writesSeen;
        if (state.writesSeen >= state.nthWrite) {
            ++state.refusedWrites;
            return state.fault == Fault::DiskFull ? SQLITE_FULL : SQLITE_IOERR_WRITE;
        }
    }
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xWrite(real, buffer, amount, offset);
}

int ShimTruncate(sqlite3_file* file, sqlite3_int64 size) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xTruncate(real, size);
}

int ShimSync(sqlite3_file* file, int flags) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xSync(real, flags);
}

int ShimFileSize(sqlite3_file* file, sqlite3_int64* size) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xFileSize(real, size);
}

int ShimLock(sqlite3_file* file, int level) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xLock(real, level);
}

int ShimUnlock(sqlite3_file* file, int level) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xUnlock(real, level);
}

int ShimCheckReservedLock(sqlite3_file* file, int* reserved) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xCheckReservedLock(real, reserved);
}

// A pragma the layer answers itself never reaches the engine's own
// handling: the engine keeps the value the layer gives.
int ShimFileControl(sqlite3_file* file, int op, void* argument) {
    const State& state = Current();
    if (op == SQLITE_FCNTL_PRAGMA && Shim(file)->watched && Shim(file)->mainDatabase &&
        !state.pragma.isEmpty()) {
        auto** words = static_cast<char**>(argument);
        if (sqlite3_stricmp(words[1], state.pragma.constData()) == 0) {
            words[0] = sqlite3_mprintf("%s", state.pragmaValue.constData());
            return SQLITE_OK;
        }
    }
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xFileControl(real, op, argument);
}

int ShimSectorSize(sqlite3_file* file) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xSectorSize(real);
}

int ShimDeviceCharacteristics(sqlite3_file* file) {
    sqlite3_file* real = Shim(file)->real();
    return real->pMethods->xDeviceCharacteristics(real);
}

// A rollback journal needs no shared memory and no memory mapping: the
// layer offers neither, and the engine does without.
const sqlite3_io_methods kShimMethods = {
    1,
    ShimClose,
    ShimRead,
    ShimWrite,
    ShimTruncate,
    ShimSync,
    ShimFileSize,
    ShimLock,
    ShimUnlock,
    ShimCheckReservedLock,
    ShimFileControl,
    ShimSectorSize,
    ShimDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int ShimOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    ShimFile* shim = Shim(file);
    shim->base.pMethods = nullptr;
    shim->watched = IsWatched(name);
    shim->mainDatabase = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    const Fault fault = Current().fault;
    if (shim->watched && fault == Fault::ReadOnlyFolder && !shim->mainDatabase &&
        (flags & SQLITE_OPEN_CREATE) != 0 && !QFile::exists(QString::fromUtf8(name))) {
        return SQLITE_CANTOPEN;
    }
    if (shim->watched && fault == Fault::ReadOnlyFile && shim->mainDatabase) {
        // What the default layer does when the file refuses to open for
        // writing: it opens it for reading and says so.
        flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    }
    const int code = RealVfs().xOpen(&RealVfs(), name, shim->real(), flags, outFlags);
    if (shim->real()->pMethods != nullptr) {
        shim->base.pMethods = &kShimMethods;
    }
    return code;
}

sqlite3_vfs& ShimVfs() {
    static sqlite3_vfs shim = [] {
        sqlite3_vfs vfs = RealVfs();
        vfs.pNext = nullptr;
        vfs.zName = "faulty-disk";
        vfs.szOsFile = int(sizeof(ShimFile)) + RealVfs().szOsFile;
        vfs.xOpen = ShimOpen;
        return vfs;
    }();
    return shim;
}

}  // namespace

void Install() {
    static const bool installed = [] {
        RealVfs();
        return sqlite3_vfs_register(&ShimVfs(), 1) == SQLITE_OK;
    }();
    Q_ASSERT(installed);
}

void Arm(Fault fault, const QString& databasePath, int nthWrite) {
    State& state = Current();
    state.fault = fault;
    state.databasePath = QFile::encodeName(databasePath);
    state.nthWrite = nthWrite;
    state.writesSeen = 0;
    state.refusedWrites = 0;
}

void ForcePragma(const QString& databasePath, const QString& pragma, const QString& value) {
    State& state = Current();
    state.databasePath = QFile::encodeName(databasePath);
    state.pragma = pragma.toLatin1();
    state.pragmaValue = value.toLatin1();
}

void Disarm() {
    Current() = State();
}

int RefusedWrites() {
    return Current().refusedWrites;
}

int WritesSeen() {
    return Current().writesSeen;
}

}  // namespace testsupport::faultydisk
