#include "store/Schema.h"

#include <sqlite3.h>

#include <QFile>

#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "store/Statement.h"

namespace store {
namespace {

// Dates are ISO text "YYYY-MM-DD" in DATE columns; amounts are whole cents
// in CENTS INTEGER columns, so that sums are exact.
QString ShortText() {
    return QStringLiteral("VARCHAR(%1)").arg(kShortTextLength);
}

QString RantebouTable() {
    QStringList columns{QStringLiteral("HMEROMHNIA DATE NOT NULL PRIMARY KEY")};
    for (const QString& slot : SlotColumns()) {
        columns.append(QuoteIdentifier(slot) + QLatin1Char(' ') + ShortText());
    }
    return QStringLiteral("CREATE TABLE RANTEBOU (%1)").arg(columns.join(QLatin1String(", ")));
}

}  // namespace

const QStringList& SlotColumns() {
    static const QStringList columns = [] {
        QStringList names;
        for (int start = 8 * 60; start < 22 * 60; start += 30) {
            const int end = start + 30;
            names.append(QStringLiteral("%1%2-%3%4")
                             .arg(start / 60, 2, 10, QLatin1Char('0'))
                             .arg(start % 60, 2, 10, QLatin1Char('0'))
                             .arg(end / 60, 2, 10, QLatin1Char('0'))
                             .arg(end % 60, 2, 10, QLatin1Char('0')));
        }
        return names;
    }();
    return columns;
}

QStringList SchemaStatements() {
    const QString text = ShortText();
    return {
        RantebouTable(),
        QStringLiteral("CREATE TABLE SHMEIWSEIS (HMEROMHNIA DATE NOT NULL PRIMARY KEY, "
                       "KEIMENO TEXT)"),
        QStringLiteral("CREATE TABLE NOTES (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "TITLOS %1, PERIGRAFH TEXT)")
            .arg(text),
        QStringLiteral("CREATE TABLE XRHSIMA_THLEFWNA (ONOMATEPWNYMO %1, DIEYTHYNSH %1, "
                       "THLEFWNO_1 %1, THLEFWNO_2 %1, FAX %1, EMAIL %1, PERIGRAFH %1)")
            .arg(text),
        QStringLiteral("CREATE TABLE EKSODA (HMEROMHNIA DATE, POSO CENTS INTEGER, "
                       "VAT CENTS INTEGER, PERIGRAFH %1)")
            .arg(text),
        // The expense searches read a range of dates from an index alone, in
        // date order, however the rows lie in the table: the rows with their
        // descriptions from the first, the sums from the narrower second.
        // Files with only a date index still work, more slowly.
        QStringLiteral("CREATE INDEX EKSODA_HMEROMHNIA ON EKSODA "
                       "(HMEROMHNIA, POSO, VAT, PERIGRAFH)"),
        QStringLiteral("CREATE INDEX EKSODA_HMEROMHNIA_AMOUNTS ON EKSODA (HMEROMHNIA, POSO, VAT)"),
        QStringLiteral("CREATE TABLE ADMINISTRATOR_ACCOUNT (PASSWORD %1)").arg(text),
    };
}

void CreateEmptyDatabase(const QString& path) {
    if (QFile::exists(path)) {
        throw DatabaseError(QStringLiteral("'%1' exists already.").arg(path));
    }
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DatabaseError(message);
    }
    const QByteArray key = kDatabasePassword.toUtf8();
    sqlite3_key(db, key.constData(), int(key.size()));
    try {
        for (const char* pragma : {"PRAGMA cipher_page_size = 1024", "PRAGMA kdf_iter = 64000",
                                   "PRAGMA cipher_use_hmac = ON", "PRAGMA journal_mode = DELETE"}) {
            Statement(db, QString::fromLatin1(pragma)).execute();
        }
        Statement(db, QStringLiteral("BEGIN")).execute();
        for (const QString& sql : SchemaStatements()) {
            Statement(db, sql).execute();
        }
        Statement(db, QStringLiteral("COMMIT")).execute();
    } catch (...) {
        sqlite3_close(db);
        QFile::remove(path);
        throw;
    }
    sqlite3_close(db);
}

}  // namespace store
