#include "widgets/FieldText.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QValidator>
#include <limits>

#include "core/ProgramLocale.h"
#include "store/DatabaseError.h"
#include "store/SqlFunctions.h"

namespace widgets {
namespace {

using Kind = store::FieldInfo::Kind;

// Shown with two-digit day and month; typed with one or two digits.
const QString kDateFormat = QStringLiteral("dd/MM/yyyy");

QString DecimalComma() {
    return ProgramLocale().decimalPoint();
}

// An amount as it may stand in the box while it is typed.
const QRegularExpression& TypedAmountPattern() {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("[+-]?\\d*(%1\\d*)?").arg(QRegularExpression::escape(DecimalComma()))));
    return pattern;
}

// Takes a "." where the amount holds no decimal comma yet as that comma;
// anything else that cannot grow into an amount is refused.
class AmountKeystrokes : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        if (TypedAmountPattern().match(input).hasMatch()) {
            return Acceptable;
        }
        if (input.count(QLatin1Char('.')) == 1 && !input.contains(DecimalComma())) {
            QString withComma = input;
            withComma.replace(QLatin1Char('.'), DecimalComma());
            if (TypedAmountPattern().match(withComma).hasMatch()) {
                input = withComma;
                return Acceptable;
            }
        }
        return Invalid;
    }
};

QVariant ParseDate(const QString& text) {
    static const QRegularExpression dayMonthYear(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch match = dayMonthYear.match(text);
    const QDate date =
        match.hasMatch()
            ? QDate(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt())
            : QDate();
    if (!date.isValid()) {
        throw store::DatabaseError(QStringLiteral("'%1' is not a valid date.").arg(text));
    }
    return date.toString(Qt::ISODate);
}

// Whole cents, exactly: never rounded, never wrapped past what qint64 holds.
QVariant ParseCents(const QString& text) {
    static const QRegularExpression amount(QStringLiteral("^([+-]?)(\\d*)(?:%1(\\d*))?$")
                                               .arg(QRegularExpression::escape(DecimalComma())));
    const QRegularExpressionMatch match = amount.match(text);
    if (!match.hasMatch() || (match.captured(2).isEmpty() && match.captured(3).isEmpty())) {
        throw store::DatabaseError(QStringLiteral("'%1' is not a valid amount.").arg(text));
    }
    const QString decimals = match.captured(3);
    if (decimals.size() > 2) {
        throw store::DatabaseError(
            QStringLiteral("'%1' has more than two decimals: amounts are kept in cents.")
                .arg(text));
    }
    const bool negative = match.captured(1) == QLatin1String("-");
    const QString digits = match.captured(2) + decimals.leftJustified(2, QLatin1Char('0'));
    // Summed as a negative number, which reaches one step further than a
    // positive one; each step checked for overflow.
    qint64 cents = 0;
    for (const QChar digit : digits) {
        if (__builtin_mul_overflow(cents, qint64(10), &cents) ||
            __builtin_sub_overflow(cents, qint64(digit.digitValue()), &cents)) {
            throw store::DatabaseError(QStringLiteral("'%1' is too large an amount.").arg(text));
        }
    }
    if (!negative && cents == std::numeric_limits<qint64>::min()) {
        throw store::DatabaseError(QStringLiteral("'%1' is too large an amount.").arg(text));
    }
    return negative ? cents : -cents;
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
            // Any count of digits: a third decimal or too many digits is
            // refused with a message when the value is taken, not swallowed.
            return new AmountKeystrokes(parent);
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

QString RefusedKeystrokeHint(const store::FieldInfo& field) {
    return field.kind == Kind::Cents ? QStringLiteral("Η υποδιαστολή είναι το κόμμα") : QString();
}

std::optional<QString> ReadPastedAmount(const QString& text) {
    static const QRegularExpression grouped(QRegularExpression::anchoredPattern(
        QStringLiteral("([+-]?)(\\d{1,3}(?:\\.\\d{3})+|\\d*)(,\\d*)?")));
    static const QRegularExpression pointDecimal(
        QRegularExpression::anchoredPattern(QStringLiteral("([+-]?)(\\d*)\\.(\\d*)")));
    const QString trimmed = text.trimmed();
    QString amount;
    if (const QRegularExpressionMatch match = grouped.match(trimmed); match.hasMatch()) {
        amount = match.captured(1) + match.captured(2).remove(QLatin1Char('.')) +
                 match.captured(3).replace(QLatin1Char(','), DecimalComma());
    } else if (const QRegularExpressionMatch point = pointDecimal.match(trimmed);
               point.hasMatch()) {
        amount = point.captured(1) + point.captured(2) + DecimalComma() + point.captured(3);
    }
    if (!amount.contains(QRegularExpression(QStringLiteral("\\d")))) {
        return std::nullopt;
    }
    return amount;
}

QString UnreadableAmountMessage(const QString& text) {
    constexpr int kShownCharacters = 60;
    const QString shown =
        text.size() > kShownCharacters ? text.left(kShownCharacters) + QChar(0x2026) : text;
    return QStringLiteral(
               "Το «%1» δεν είναι ένα ποσό.\rΤα ποσά γράφονται με κόμμα στα δεκαδικά, "
               "π.χ. 1.234,56.")
        .arg(shown);
}

}  // namespace widgets
