// What is typed into the date and amount fields of the expenses windows.
// Checked against a reading of the same grammar written apart from the
// parser: an amount is refused with the documented error or read as exactly
// the cents typed, and shown again it reads back as the same cents; a date
// is refused or is the valid day typed, and shown again it reads back as the
// same day. Whatever a field takes, its keystroke rule lets the user type.
#include <QDate>
#include <QRegularExpressionValidator>
#include <memory>
#include <optional>

#include <algorithm>

#include "FuzzSupport.h"
#include "core/ProgramLocale.h"
#include "store/DatabaseError.h"
#include "store/FieldCatalog.h"
#include "store/SqlFunctions.h"
#include "widgets/FieldText.h"

namespace {

using store::FieldInfo;

FieldInfo FieldOfKind(FieldInfo::Kind kind) {
    FieldInfo field;
    field.name = QStringLiteral("FUZZED");
    field.kind = kind;
    return field;
}

const FieldInfo& AmountField() {
    static const FieldInfo field = FieldOfKind(FieldInfo::Kind::Cents);
    return field;
}

const FieldInfo& DateField() {
    static const FieldInfo field = FieldOfKind(FieldInfo::Kind::Date);
    return field;
}

// A sign, ASCII digits, the decimal comma and at most two decimals, some
// digit present, within what qint64 holds.
std::optional<qint64> ExpectedCents(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    __int128 whole = 0;
    int digits = 0;
    for (; i < text.size() && IsAsciiDigit(text.at(i)); ++i, ++digits) {
        whole = whole * 10 + (text.at(i).unicode() - '0');
        if (whole > (__int128(1) << 64)) {
            return std::nullopt;
        }
    }
    int decimals = 0;
    int fraction = 0;
    if (i < text.size() && text.at(i) == u',') {
        for (++i; i < text.size() && IsAsciiDigit(text.at(i)); ++i, ++decimals) {
            fraction = fraction * 10 + (text.at(i).unicode() - '0');
            if (decimals == 2) {
                return std::nullopt;
            }
        }
    }
    if (i != text.size() || digits + decimals == 0) {
        return std::nullopt;
    }
    const __int128 cents =
        (whole * 100 + (decimals == 1 ? fraction * 10 : fraction)) * (negative ? -1 : 1);
    if (cents < std::numeric_limits<qint64>::min() || cents > std::numeric_limits<qint64>::max()) {
        return std::nullopt;
    }
    return qint64(cents);
}

// Day/month/four-digit year in ASCII digits, a valid day.
QDate ExpectedDate(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3) {
        return {};
    }
    const qsizetype widths[][2] = {{1, 2}, {1, 2}, {4, 4}};
    for (int i = 0; i < 3; ++i) {
        const QString& part = parts[i];
        if (part.size() < widths[i][0] || part.size() > widths[i][1] ||
            !std::all_of(part.begin(), part.end(), IsAsciiDigit)) {
            return {};
        }
    }
    return QDate(parts[2].toInt(), parts[1].toInt(), parts[0].toInt());
}

bool TypeableIn(const FieldInfo& field, const QString& text) {
    const std::unique_ptr<QValidator> keystrokes(widgets::KeystrokeValidator(field, nullptr));
    QString typed = text;
    int position = int(typed.size());
    return keystrokes->validate(typed, position) == QValidator::Acceptable;
}

// The value, or nullopt when the field refuses the text with its documented error.
std::optional<QVariant> Parse(const FieldInfo& field, const QString& text) {
    try {
        return widgets::ParseFieldText(field, text);
    } catch (const store::DatabaseError&) {
        return std::nullopt;
    } catch (...) {
        Require(false, "a field throws only the documented error", text);
        return std::nullopt;
    }
}

void CheckAmount(const QString& typed) {
    const std::optional<QVariant> value = Parse(AmountField(), typed);
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty()) {
        Require(value && value->isNull(), "an empty amount is no amount", typed);
        return;
    }
    const std::optional<qint64> expected = ExpectedCents(trimmed);
    if (!expected) {
        Require(!value, "an amount that is not one is refused", typed,
                value ? value->toString() : QString());
        return;
    }
    Require(value && value->typeId() == QMetaType::LongLong && value->toLongLong() == *expected,
            "an amount is read as the cents typed", typed,
            value ? value->toString() : QStringLiteral("refused"));
    const QString shown = widgets::FieldDisplayText(AmountField(), *value);
    Require(shown == store::CentsText(*expected), "an amount is shown in cents", typed, shown);
    const std::optional<QVariant> again = Parse(AmountField(), shown);
    Require(again && again->toLongLong() == *expected,
            "an amount shown reads back as the same cents", typed, shown);
    Require(TypeableIn(AmountField(), trimmed), "an amount taken can be typed", typed);
}

void CheckDate(const QString& typed) {
    const std::optional<QVariant> value = Parse(DateField(), typed);
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty()) {
        Require(value && value->isNull(), "an empty date is no date", typed);
        return;
    }
    const QDate expected = ExpectedDate(trimmed);
    if (!expected.isValid()) {
        Require(!value, "a date that is not one is refused", typed,
                value ? value->toString() : QString());
        return;
    }
    Require(value && value->toString() == expected.toString(Qt::ISODate),
            "a date is read as the day typed", typed,
            value ? value->toString() : QStringLiteral("refused"));
    const QString shown = widgets::FieldDisplayText(DateField(), *value);
    const std::optional<QVariant> again = Parse(DateField(), shown);
    Require(again && *again == *value, "a date shown reads back as the same day", typed, shown);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // As program entry does: the decimal comma of the Greek settings.
    ApplyProgramLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString typed = FuzzText(data, size);
    CheckAmount(typed);
    CheckDate(typed);
    return 0;
}
