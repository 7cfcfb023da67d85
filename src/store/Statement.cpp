#include "store/Statement.h"

#include <sqlite3.h>

#include <QDate>

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/FileFault.h"

namespace store {
namespace {

void BindOne(sqlite3_stmt* stmt, int index, const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            sqlite3_bind_int64(stmt, index, value.toLongLong());
            return;
        case QMetaType::Double:
        case QMetaType::Float:
            sqlite3_bind_double(stmt, index, value.toDouble());
            return;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            sqlite3_bind_blob(stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            return;
        }
        case QMetaType::QDate: {
            const QByteArray iso = value.toDate().toString(Qt::ISODate).toUtf8();
            sqlite3_bind_text(stmt, index, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
            return;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            return;
        }
    }
}

}  // namespace

QString QuoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void ThrowEngineError(sqlite3* db) {
    const int code = sqlite3_extended_errcode(db);
    const QString fileFault = FileFaultMessage(code, DatabaseFileOf(db));
    if (!fileFault.isEmpty()) {
        const int primary = code & 0xff;
        const bool damaged = primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
        throw DatabaseError(fileFault, damaged ? DatabaseError::Kind::FileDamaged
                                               : DatabaseError::Kind::FileUnwritable);
    }
    throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(db)),
                        (code & 0xff) == SQLITE_CONSTRAINT ? DatabaseError::Kind::RowRefused
                                                           : DatabaseError::Kind::Statement);
}

Statement::Statement(sqlite3* db, const QString& sql) : db_(db), sql_(sql) {
    const QByteArray text = sql.toUtf8();
    const int code = sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &stmt_, nullptr);
    if (code != SQLITE_OK) {
        fail(code);
    }
    if (stmt_ == nullptr) {
        throw DatabaseError(QStringLiteral("Command text was not set for the command object."));
    }
}

Statement::Statement(const Connection& connection, const QString& sql)
    : Statement(connection.handle(), sql) {}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::fail(int) const {
    ThrowEngineError(db_);
}

void Statement::bind(const QVariantList& parameters) {
    const int expected = sqlite3_bind_parameter_count(stmt_);
    if (expected != parameters.size()) {
        throw DatabaseError(QStringLiteral("The statement expects %1 parameters, %2 were given.")
                                .arg(expected)
                                .arg(parameters.size()));
    }
    for (int i = 0; i < parameters.size(); ++i) {
        BindOne(stmt_, i + 1, parameters.at(i));
    }
}

bool Statement::step() {
    const int code = sqlite3_step(stmt_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    fail(code);
}

int Statement::execute() {
    while (step()) {
    }
    return sqlite3_changes(db_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

QString Statement::columnDeclaredType(int column) const {
    return QString::fromUtf8(sqlite3_column_decltype(stmt_, column));
}

QString Statement::columnTable(int column) const {
    return QString::fromUtf8(sqlite3_column_table_name(stmt_, column));
}

QString Statement::columnOrigin(int column) const {
    return QString::fromUtf8(sqlite3_column_origin_name(stmt_, column));
}

QByteArrayView Statement::utf8Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QByteArrayView(text, sqlite3_column_bytes(stmt_, column));
}

QVariant Statement::value(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(stmt_, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt_, column));
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
            return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column)));
        }
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
            return QVariant(QByteArray(data, sqlite3_column_bytes(stmt_, column)));
        }
        default:
            return QVariant();
    }
}

}  // namespace store
