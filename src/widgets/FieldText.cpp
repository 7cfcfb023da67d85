#include "widgets/FieldText.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "store/DatabaseError.h"
#include "store/SqlFunctions.h"

namespace widgets {
namespace {

using Kind = store::FieldInfo::Kind;

const QString kDateFormat = QStringLiteral("d/M/yyyy");

QVariant ParseDate(const QString& text) {
    const QDate date = QDate::fromString(text, kDateFormat);
    if (!date.isValid()) {
        throw store::DatabaseError(QStringLiteral("'%1' is not a valid date.").arg(text));
    }
    return date.toString(Qt::ISODate);
}

QVariant ParseCents(const QString& text) {
    static const QRegularExpression amount(QStringLiteral("^([+-]?)(\\d{0,13})(?:[.,](\\d*))?$"));
    const QRegularExpressionMatch match = amount.match(text);
    if (!match.hasMatch() || (match.captured(2).isEmpty() && match.captured(3).isEmpty())) {
        throw store::DatabaseError(
            QStringLiteral("'%1' is not a valid floating point value.").arg(text));
    }
    const QString decimals = match.captured(3);
    if (decimals.size() > 2) {
        throw store::DatabaseError(
            QStringLiteral("'%1' has more than two decimals: amounts are kept in cents.")
                .arg(text));
    }
    const qint64 cents = match.captured(2).toLongLong() * 100 +
                         decimals.leftJustified(2, QLatin1Char('0')).toLongLong();
    return match.captured(1) == QLatin1String("-") ? -cents : cents;
}

QVariant ParseInteger(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok) {
        throw store::DatabaseError(QStringLiteral("'%1' is not a valid integer value.").arg(text));
    }
    return value;
}

QVariant ParseReal(const QString& text) {
    QString plain = text;
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok) {
        throw store::DatabaseError(
            QStringLiteral("'%1' is not a valid floating point value.").arg(text));
    }
    return value;
}

}  // namespace

QString FieldDisplayText(const store::FieldInfo& field, const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    switch (field.kind) {
        case Kind::Date: {
            const QDate date = QDate::fromString(value.toString().left(10), Qt::ISODate);
            return date.isValid() ? date.toString(kDateFormat) : value.toString();
        }
        case Kind::Cents:
            return store::CentsText(value.toLongLong());
        case Kind::Real:
            return QLocale().toString(value.toDouble(), 'g', 15);
        default:
            return value.toString();
    }
}

QVariant ParseFieldText(const store::FieldInfo& field, const QString& text) {
    const QString trimmed = text.trimmed();
    if (text.isEmpty() || (!TakesEveryKeystroke(field) && trimmed.isEmpty())) {
        return {};
    }
    switch (field.kind) {
        case Kind::Date:
            return ParseDate(trimmed);
        case Kind::Cents:
            return ParseCents(trimmed);
        case Kind::Integer:
        case Kind::Counter:
            return ParseInteger(trimmed);
        case Kind::Real:
            return ParseReal(trimmed);
        default:
            return text;
    }
}

bool TakesEveryKeystroke(const store::FieldInfo& field) {
    return field.kind == Kind::Text || field.kind == Kind::Memo;
}

QValidator* KeystrokeValidator(const store::FieldInfo& field, QObject* parent) {
    QString pattern;
    switch (field.kind) {
        case Kind::Cents:
            pattern = QStringLiteral("[+-]?\\d{0,13}([.,]\\d{0,2})?");
            break;
        case Kind::Integer:
        case Kind::Counter:
            pattern = QStringLiteral("[+-]?\\d{0,18}");
            break;
        case Kind::Real:
            pattern = QStringLiteral("[+-]?\\d*([.,]\\d*)?([eE][+-]?\\d{0,3})?");
            break;
        default:
            return nullptr;
    }
    return new QRegularExpressionValidator(QRegularExpression(pattern), parent);
}

}  // namespace widgets
