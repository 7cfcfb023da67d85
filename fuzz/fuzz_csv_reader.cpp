// The expenses file of `import csv`, any bytes at all. It is refused with an
// InterchangeError that names a line of the file, or read into expenses that
// match a reading of the same file written apart from the reader (fields
// split by RFC 4180 with ';', dates dd/MM/yyyy, amounts with ASCII digits
// and the decimal comma), and that the writer gives back unchanged: written
// and read again, the same expenses with nothing skipped or noted.
#include <QRegularExpression>
#include <optional>

#include "ReaderFuzzSupport.h"
#include "interchange/ExpensesCsv.h"

namespace {

using interchange::Expense;

// The records of a file the reader took: a quoted field may hold ';',
// doubled quotes and line breaks; blanks before its opening quote do not
// count; the CR of a CRLF outside quotes ends nothing of its own.
QVector<QStringList> SplitRecords(const QString& text) {
    QVector<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        any = true;
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            field.clear();
            quoted = true;
        } else if (c == u';') {
            fields.append(field);
            field.clear();
        } else if (c == u'\n') {
            fields.append(field);
            records.append(fields);
            fields.clear();
            field.clear();
            any = false;
        } else if (c != u'\r' || i + 1 == text.size() || text.at(i + 1) != u'\n') {
            field += c;
        }
    }
    if (any) {
        fields.append(field);
        records.append(fields);
    }
    return records;
}

bool Blank(const QStringList& fields) {
    return std::all_of(fields.cbegin(), fields.cend(),
                       [](const QString& f) { return f.trimmed().isEmpty(); });
}

// A number of ASCII digits, at most maxDigits of them, at least minDigits.
std::optional<qint64> Digits(const QString& text, qsizetype& i, int minDigits, int maxDigits) {
    qint64 value = 0;
    int count = 0;
    while (i < text.size() && IsAsciiDigit(text.at(i)) && count < maxDigits) {
        value = value * 10 + (text.at(i++).unicode() - '0');
        ++count;
    }
    if (count < minDigits) {
        return std::nullopt;
    }
    return value;
}

// dd/MM/yyyy with one or two digits of day and month; no date when blank.
std::optional<QDate> ExpectedDate(const QString& field) {
    const QString text = field.trimmed();
    if (text.isEmpty()) {
        return QDate();
    }
    qsizetype i = 0;
    const auto day = Digits(text, i, 1, 2);
    const bool slash1 = i < text.size() && text.at(i++) == u'/';
    const auto month = Digits(text, i, 1, 2);
    const bool slash2 = i < text.size() && text.at(i++) == u'/';
    const auto year = Digits(text, i, 4, 4);
    if (!day || !slash1 || !month || !slash2 || !year || i != text.size()) {
        return std::nullopt;
    }
    const QDate date{int(*year), int(*month), int(*day)};
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// "-1.234,5": a sign, digits either plain (at most 15) or in groups of three
// after the first one to three (at most five groups in all), one or two
// decimals after the comma. No value inside the optional when blank.
std::optional<std::optional<qint64>> ExpectedCents(const QString& field) {
    const QString text = field.trimmed();
    if (text.isEmpty()) {
        return std::optional<qint64>();
    }
    qsizetype i = 0;
    const bool negative = text.startsWith(u'-');
    i += negative ? 1 : 0;
    const qsizetype wholeStart = i;
    auto whole = Digits(text, i, 1, 15);
    if (!whole) {
        return std::nullopt;
    }
    if (i < text.size() && text.at(i) == u'.') {
        if (i - wholeStart > 3) {
            return std::nullopt;
        }
        int groups = 0;
        while (i < text.size() && text.at(i) == u'.') {
            ++i;
            const auto group = Digits(text, i, 3, 3);
            if (!group || ++groups > 4 || (i < text.size() && IsAsciiDigit(text.at(i)))) {
                return std::nullopt;
            }
            *whole = *whole * 1000 + *group;
        }
    }
    qint64 cents = *whole * 100;
    if (i < text.size() && text.at(i) == u',') {
        ++i;
        const qsizetype decimalsStart = i;
        const auto decimals = Digits(text, i, 1, 2);
        if (!decimals) {
            return std::nullopt;
        }
        cents += i - decimalsStart == 1 ? *decimals * 10 : *decimals;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return std::optional<qint64>(negative ? -cents : cents);
}

QString Describe(const Expense& e) {
    return QStringLiteral("%1|%2|%3|%4")
        .arg(e.date.toString(Qt::ISODate), e.amount ? QString::number(*e.amount) : QString(),
             e.vat ? QString::number(*e.vat) : QString(), e.description);
}

void CheckAgainstOwnReading(const QByteArray& bytes, const QVector<Expense>& expenses,
                            const QString& input) {
    const QByteArray bom = QByteArrayLiteral("\xEF\xBB\xBF");
    QVector<QStringList> records =
        SplitRecords(QString::fromUtf8(bytes.startsWith(bom) ? bytes.mid(bom.size()) : bytes));
    if (!records.isEmpty()) {
        QStringList names;
        for (const QString& f : records.first()) {
            names.append(f.trimmed().toLower());
        }
        if (names.join(u';') == QLatin1String(interchange::kExpensesCsvHeader)) {
            records.removeFirst();
        }
    }
    records.removeIf(Blank);
    Require(records.size() == expenses.size(), "one expense for each record that is not blank",
            input,
            QStringLiteral("%1 records, %2 expenses").arg(records.size()).arg(expenses.size()));
    for (int i = 0; i < records.size(); ++i) {
        const QStringList& f = records.at(i);
        Require(f.size() == 4, "an accepted record has four fields", input, f.join(u'|'));
        const auto date = ExpectedDate(f.at(0));
        const auto amount = ExpectedCents(f.at(1));
        const auto vat = ExpectedCents(f.at(2));
        Require(date && amount && vat, "an accepted record is a date and two amounts", input,
                f.join(u'|'));
        const Expense expected{*date, *amount, *vat, f.at(3)};
        Require(expenses.at(i) == expected, "an expense is what its record says", input,
                Describe(expenses.at(i)) + " != " + Describe(expected));
    }
}

void CheckOutcome(const interchange::Outcome& outcome, const QString& input) {
    static const QRegularExpression emptyLine(QStringLiteral("^line [1-9][0-9]*: empty line$"));
    Require(outcome.written == 0, "reading writes nothing", input);
    Require(outcome.skipped == outcome.notes.size(), "a note for every line skipped", input,
            outcome.notes.join(u'\n'));
    for (const QString& note : outcome.notes) {
        Require(emptyLine.match(note).hasMatch(), "only empty lines are skipped", input, note);
    }
}

void CheckRoundTrip(const QVector<Expense>& expenses, const QString& input) {
    const QByteArray written = interchange::WriteExpensesCsv(expenses);
    RequireReadsBack(expenses, written, interchange::ReadExpensesCsv, Describe, input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString input = FuzzText(data, size);
    interchange::Outcome outcome;
    QVector<Expense> expenses;
    try {
        expenses = interchange::ReadExpensesCsv(bytes, outcome);
    } catch (const interchange::InterchangeError& error) {
        Require(NamesALineOf(error.message(), bytes), "a refusal names a line of the file", input,
                error.message());
        return 0;
    } catch (...) {
        Require(false, "a file is refused only with InterchangeError", input);
    }
    CheckOutcome(outcome, input);
    CheckAgainstOwnReading(bytes, expenses, input);
    CheckRoundTrip(expenses, input);
    return 0;
}
