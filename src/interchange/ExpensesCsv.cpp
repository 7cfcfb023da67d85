#include "interchange/ExpensesCsv.h"

#include <QRegularExpression>

#include "store/Schema.h"

namespace interchange {
namespace {

constexpr int kCsvFieldCount = 4;
const QString kCsvDateFormat = QStringLiteral("dd/MM/yyyy");

// Spreadsheets trim unquoted blanks and end a field at the separator or a
// line break, so such a field is quoted, with its quotes doubled.
QString CsvField(const QString& text) {
    static const QRegularExpression needsQuotes(QStringLiteral("[;\"\\r\\n]|^\\s|\\s$"));
    if (!needsQuotes.match(text).hasMatch()) {
        return text;
    }
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString CsvLine(const Expense& expense) {
    const QString amount = expense.amount ? CsvAmount(*expense.amount) : QString();
    const QString vat = expense.vat ? CsvAmount(*expense.vat) : QString();
    return QStringList{expense.date.toString(kCsvDateFormat), amount, vat,
                       CsvField(expense.description)}
        .join(QLatin1Char(';'));
}

// The text of the file; a byte that is not UTF-8 is refused with its line.
QString DecodeCsvText(const QByteArray& file) {
    const QByteArray bytes = WithoutByteOrderMark(file);
    QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) {
        const QList<QByteArray> lines = bytes.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            DecodeUtf8Line(lines.at(i), i + 1);
        }
    }
    return text;
}

struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// Splits the text into records by RFC 4180: a quoted field may hold the
// separator, doubled quotes and line breaks.
class CsvSplitter {
public:
    explicit CsvSplitter(const QString& text) : text_(text) {}

    QVector<CsvRecord> records() {
        for (qsizetype i = 0; i < text_.size(); ++i) {
            i = take(i);
        }
        if (inQuotes_) {
            ThrowAtLine(recordLine_, QStringLiteral("a quoted field is not closed"));
        }
        if (!fields_.isEmpty() || !field_.isEmpty() || afterQuote_) {
            endRecord();
        }
        return records_;
    }

private:
    // Handles the character at i; returns the index of the last one used.
    qsizetype take(qsizetype i) {
        const QChar c = text_.at(i);
        const bool nextIsQuote = i + 1 < text_.size() && text_.at(i + 1) == QLatin1Char('"');
        if (inQuotes_) {
            if (c == QLatin1Char('"') && nextIsQuote) {
                field_.append(c);
                return i + 1;
            }
            if (c == QLatin1Char('"')) {
                inQuotes_ = false;
                afterQuote_ = true;
            } else {
                line_ += c == QLatin1Char('\n') ? 1 : 0;
                field_.append(c);
            }
            return i;
        }
        if (c == QLatin1Char(';')) {
            fields_.append(field_);
            field_.clear();
            afterQuote_ = false;
        } else if (c == QLatin1Char('\n')) {
            endRecord();
            recordLine_ = ++line_;
        } else if (c == QLatin1Char('\r') && i + 1 < text_.size() &&
                   text_.at(i + 1) == QLatin1Char('\n')) {
            // The CR of a CRLF line end.
        } else if (afterQuote_) {
            ThrowAtLine(line_, QStringLiteral("text after the closing quotation mark of a field"));
        } else if (c == QLatin1Char('"')) {
            if (!field_.trimmed().isEmpty()) {
                ThrowAtLine(line_,
                            QStringLiteral("a quotation mark inside a field that is not quoted"));
            }
            field_.clear();
            inQuotes_ = true;
        } else {
            field_.append(c);
        }
        return i;
    }

    void endRecord() {
        fields_.append(field_);
        records_.append({recordLine_, fields_});
        fields_.clear();
        field_.clear();
        afterQuote_ = false;
    }

    const QString& text_;
    QVector<CsvRecord> records_;
    QStringList fields_;
    QString field_;
    int line_ = 1;
    int recordLine_ = 1;
    bool inQuotes_ = false;
    bool afterQuote_ = false;
};

QDate CsvDate(const CsvRecord& record) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QString text = record.fields.at(0).trimmed();
    if (text.isEmpty()) {
        return {};
    }
    const QRegularExpressionMatch match = pattern.match(text);
    const QDate date =
        match.hasMatch()
            ? QDate(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt())
            : QDate();
    if (!date.isValid()) {
        ThrowAtLine(record.line,
                    QStringLiteral("'%1' is not a date of the form dd/MM/yyyy").arg(text));
    }
    return date;
}

// "1.234,56", "12,5", "-3" and "7" are amounts; "12.50" is not (the point
// groups thousands here).
std::optional<qint64> CsvCents(const CsvRecord& record, int column, const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^(-?)(\\d{1,3}(?:\\.\\d{3}){1,4}|\\d{1,15})(?:,(\\d{1,2}))?$"));
    const QString text = record.fields.at(column).trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        ThrowAtLine(record.line,
                    QStringLiteral("the %1 '%2' is not an amount like 1.234,56").arg(name, text));
    }
    QString whole = match.captured(2);
    whole.remove(QLatin1Char('.'));
    const QString cents = match.captured(3).leftJustified(2, QLatin1Char('0'));
    const qint64 value = whole.toLongLong() * 100 + cents.toLongLong();
    return match.captured(1).isEmpty() ? value : -value;
}

// The description as the register stores it; one longer than its column
// would be cut the next time the expense is edited, so the line is refused.
QString CsvDescription(const CsvRecord& record) {
    const QString& text = record.fields.at(3);
    if (text.size() > store::kShortTextLength) {
        ThrowAtLine(record.line,
                    QStringLiteral("the description has %1 characters, more than the %2 an "
                                   "expense's description holds")
                        .arg(text.size())
                        .arg(store::kShortTextLength));
    }
    return text;
}

bool IsHeader(const CsvRecord& record) {
    QStringList names;
    for (const QString& field : record.fields) {
        names.append(field.trimmed().toLower());
    }
    return names.join(QLatin1Char(';')) == QLatin1String(kExpensesCsvHeader);
}

bool IsEmptyRecord(const CsvRecord& record) {
    for (const QString& field : record.fields) {
        if (!field.trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString CsvAmount(qint64 cents) {
    const qint64 magnitude = cents < 0 ? -cents : cents;
    return QStringLiteral("%1%2,%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QByteArray WriteExpensesCsv(const QVector<Expense>& expenses) {
    QString text = QLatin1String(kExpensesCsvHeader) + QStringLiteral("\r\n");
    for (const Expense& expense : expenses) {
        text += CsvLine(expense) + QStringLiteral("\r\n");
    }
    return kUtf8ByteOrderMark + text.toUtf8();
}

QVector<Expense> ReadExpensesCsv(const QByteArray& file, Outcome& outcome) {
    const QString text = DecodeCsvText(file);
    const QVector<CsvRecord> records = CsvSplitter(text).records();
    QVector<Expense> expenses;
    for (int i = 0; i < records.size(); ++i) {
        const CsvRecord& record = records.at(i);
        if (i == 0 && IsHeader(record)) {
            continue;
        }
        if (IsEmptyRecord(record)) {
            outcome.skip(QStringLiteral("line %1: empty line").arg(record.line));
            continue;
        }
        if (record.fields.size() != kCsvFieldCount) {
            ThrowAtLine(record.line, QStringLiteral("%1 fields where %2 belong (%3)")
                                         .arg(record.fields.size())
                                         .arg(kCsvFieldCount)
                                         .arg(QLatin1String(kExpensesCsvHeader)));
        }
        expenses.append({CsvDate(record), CsvCents(record, 1, QStringLiteral("amount")),
                         CsvCents(record, 2, QStringLiteral("VAT")), CsvDescription(record)});
    }
    return expenses;
}

}  // namespace interchange
