#include "store/FileFault.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>

#include "store/DatabaseError.h"

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
    sqlite3_db_release_memory(db);
    sqlite3_stmt* check = nullptr;
    int code = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &check, nullptr);
    QString verdict;
    if (code == SQLITE_OK) {
        code = sqlite3_step(check);
        if (code == SQLITE_ROW) {
            verdict =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
            code = SQLITE_OK;
        }
    }
    const int extended = sqlite3_extended_errcode(db);
    sqlite3_finalize(check);
    if (code != SQLITE_OK) {
        const QString message = FileFaultMessage(extended, path);
        const bool lockOrDisk = (extended & 0xff) == SQLITE_BUSY ||
                                (extended & 0xff) == SQLITE_LOCKED ||
                                (extended & 0xff) == SQLITE_IOERR;
        if (lockOrDisk) {
            throw DatabaseError(message, DatabaseError::Kind::FileUnwritable);
        }
        // The cipher reports a page that fails its check as a plain error.
        throw DatabaseError(DamagedFileMessage(path), DatabaseError::Kind::FileDamaged);
    }
    if (verdict != QLatin1String("ok")) {
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

}  // namespace store
