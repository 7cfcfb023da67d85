#include "store/FileFault.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <unordered_map>

#include "store/DatabaseError.h"
#include "store/FileStamp.h"

namespace store {
namespace {

QString LockedMessage(const QString& path) {
    return QStringLiteral(
               "Το αρχείο «%1» χρησιμοποιείται αυτή τη στιγμή από άλλο πρόγραμμα και "
               "δεν άνοιξε για εγγραφή μέσα σε %2 δευτερόλεπτο.\rΔοκίμασε ξανά σε λίγο.")
        .arg(QDir::toNativeSeparators(path))
        .arg(kLockWaitMs / 1000);
}

QString NativeFolderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

// What a handle knows of its file since it last read it in full.
struct IntactFileMemo {
    enum class State {
        Unknown,  // the next write reads the whole file
        Intact,   // found intact, or written by the handle itself since
        Writing,  // as Intact, with a write of the handle under way
    };
    State state = State::Unknown;
    FileStamp stamp;
    qint64 dataVersion = 0;
};

// One memo per open handle, dropped when the engine closes the handle, so
// that a handle opened later at the same address starts unknown. Never
// destroyed: pooled handles close while the program's statics go away.
std::unordered_map<sqlite3*, IntactFileMemo>& IntactFileMemos() {
    static auto* memos = new std::unordered_map<sqlite3*, IntactFileMemo>;
    return *memos;
}

void ReturnNothing(sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_null(context);
}

void DropIntactFileMemo(void* db) {
    IntactFileMemos().erase(static_cast<sqlite3*>(db));
}

IntactFileMemo* ExistingMemoOf(sqlite3* db) {
    auto& memos = IntactFileMemos();
    const auto found = memos.find(db);
    return found == memos.end() ? nullptr : &found->second;
}

// Null when the handle cannot keep one: its every write reads the file.
IntactFileMemo* MemoOf(sqlite3* db) {
    if (IntactFileMemo* memo = ExistingMemoOf(db)) {
        return memo;
    }
    // The function does nothing; the engine destroys it with the handle, and
    // the memo goes with it.
    if (sqlite3_create_function_v2(db, "intact_file_memo", 0, SQLITE_UTF8, db, ReturnNothing,
                                   nullptr, nullptr, DropIntactFileMemo) != SQLITE_OK) {
        return nullptr;
    }
    return &IntactFileMemos()[db];
}

[[noreturn]] void ThrowUnreadableFile(int extendedCode, const QString& path) {
    const int primary = extendedCode & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_IOERR) {
        throw DatabaseError(FileFaultMessage(extendedCode, path),
                            DatabaseError::Kind::FileUnwritable);
    }
    // The cipher reports a page that fails its check as a plain error.
    throw DatabaseError(DamagedFileMessage(path), DatabaseError::Kind::FileDamaged);
}

// The first value of a pragma that reads the file.
QString PragmaValue(sqlite3* db, const char* pragma, const QString& path) {
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(db, pragma, -1, &statement, nullptr);
    QString value;
    if (code == SQLITE_OK) {
        code = sqlite3_step(statement);
        if (code == SQLITE_ROW) {
            value =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
            code = SQLITE_OK;
        }
    }
    const int extended = sqlite3_extended_errcode(db);
    sqlite3_finalize(statement);
    if (code != SQLITE_OK) {
        ThrowUnreadableFile(extended, path);
    }
    return value;
}

// Reads every page from the disk, not from the handle's cache.
void RequireEveryPageIntact(sqlite3* db, const QString& path) {
    sqlite3_db_release_memory(db);
    if (PragmaValue(db, "PRAGMA quick_check(1)", path) != QLatin1String("ok")) {
        throw DatabaseError(DamagedFileMessage(path), DatabaseError::Kind::FileDamaged);
    }
    sqlite3_stmt* tables = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &tables, nullptr);
    const bool empty = sqlite3_step(tables) == SQLITE_ROW && sqlite3_column_int(tables, 0) == 0;
    sqlite3_finalize(tables);
    if (empty) {
        throw DatabaseError(EmptyFileMessage(path), DatabaseError::Kind::FileDamaged);
    }
}

bool IsUnchangedSinceRead(const IntactFileMemo& memo, sqlite3* db, qint64 dataVersion,
                          const QString& path) {
    // A write of the handle that ended without a word (the engine rolled it
    // back after a failure) leaves the file unknown.
    const bool writeEndedUnsaid =
        memo.state == IntactFileMemo::State::Writing && sqlite3_get_autocommit(db) != 0;
    return memo.state != IntactFileMemo::State::Unknown && !writeEndedUnsaid &&
           memo.dataVersion == dataVersion && StampOf(path) == memo.stamp;
}

}  // namespace

QString DamagedFileMessage(const QString& path) {
    return QStringLiteral(
               "Το αρχείο «%1» είναι κατεστραμμένο: τα δεδομένα του δεν διαβάζονται σωστά.\r"
               "Δεν γράφτηκε τίποτα σε αυτό. Χρησιμοποίησε ένα αντίγραφο ασφαλείας.")
        .arg(QDir::toNativeSeparators(path));
}

QString EmptyFileMessage(const QString& path) {
    return QStringLiteral(
               "Το αρχείο «%1» είναι άδειο (0 bytes): δεν περιέχει τα δεδομένα του "
               "προγράμματος.\rΧρησιμοποίησε ένα αντίγραφο ασφαλείας.")
        .arg(QDir::toNativeSeparators(path));
}

QString FileFaultMessage(int extendedCode, const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    switch (extendedCode & 0xff) {
        case SQLITE_FULL:
            return QStringLiteral(
                       "Ο δίσκος είναι γεμάτος: το αρχείο «%1» δεν μπορεί να γραφτεί.\r"
                       "Ελευθέρωσε χώρο στο δίσκο και δοκίμασε ξανά.")
                .arg(file);
        case SQLITE_IOERR:
            return QStringLiteral(
                       "Σφάλμα του δίσκου κατά την ανάγνωση ή την εγγραφή του αρχείου «%1».\r"
                       "Έλεγξε το δίσκο και δοκίμασε ξανά.")
                .arg(file);
        case SQLITE_READONLY:
            return QStringLiteral(
                       "Το αρχείο «%1» είναι μόνο για ανάγνωση: δεν μπορεί να γραφτεί.\r"
                       "Δώσε δικαίωμα εγγραφής στο αρχείο και ξεκίνησε ξανά το πρόγραμμα.")
                .arg(file);
        case SQLITE_CANTOPEN:
            // A write first makes a journal file beside the database; a
            // folder that takes no new file refuses it.
            return QStringLiteral(
                       "Ο φάκελος «%1» δεν επιτρέπει εγγραφή: το αρχείο «%2» δεν μπορεί να "
                       "γραφτεί.\rΔώσε δικαίωμα εγγραφής στο φάκελο και δοκίμασε ξανά.")
                .arg(NativeFolderOf(path), file);
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return LockedMessage(path);
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return DamagedFileMessage(path);
        default:
            return {};
    }
}

QString DatabaseFileOf(sqlite3* db) {
    const char* name = sqlite3_db_filename(db, "main");
    return name == nullptr ? QString() : QString::fromUtf8(name);
}

void RequireIntactFile(sqlite3* db) {
    const QString path = DatabaseFileOf(db);
    IntactFileMemo* memo = MemoOf(db);
    // Read before the file: a commit of another connection after this
    // changes it.
    const qint64 dataVersion = PragmaValue(db, "PRAGMA data_version", path).toLongLong();
    if (memo != nullptr && IsUnchangedSinceRead(*memo, db, dataVersion, path)) {
        memo->state = IntactFileMemo::State::Writing;
        return;
    }
    // Taken before the file is read: a change made while it is read alters
    // the stamp, and the next write reads the file again.
    const std::optional<FileStamp> stamp = SettledStampOf(path);
    if (memo != nullptr) {
        memo->state = IntactFileMemo::State::Unknown;
    }
    RequireEveryPageIntact(db, path);
    if (memo != nullptr && stamp) {
        *memo = {IntactFileMemo::State::Writing, *stamp, dataVersion};
    }
}

void NoteOwnWriteEnded(sqlite3* db) {
    IntactFileMemo* memo = ExistingMemoOf(db);
    if (memo == nullptr || memo->state != IntactFileMemo::State::Writing ||
        sqlite3_get_autocommit(db) == 0) {
        return;
    }
    // The handle's own commit changes no data version, another's does: the
    // one read with the file stays.
    const std::optional<FileStamp> stamp = SettledStampOf(DatabaseFileOf(db));
    memo->state = stamp ? IntactFileMemo::State::Intact : IntactFileMemo::State::Unknown;
    if (stamp) {
        memo->stamp = *stamp;
    }
}

void ForgetIntactFile(sqlite3* db) {
    if (IntactFileMemo* memo = ExistingMemoOf(db)) {
        memo->state = IntactFileMemo::State::Unknown;
    }
}

}  // namespace store
