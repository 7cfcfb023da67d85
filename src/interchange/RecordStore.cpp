#include "interchange/RecordStore.h"

#include <QHash>

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "store/Schema.h"
#include "store/Statement.h"

namespace interchange {
namespace {

// Dates are ISO text; an open end of a range reaches past every stored date.
QVariantList RangeParameters(const DateRange& range) {
    return {range.from.isNull() ? QVariant(QStringLiteral("0000-01-01")) : QVariant(range.from),
            range.to.isNull() ? QVariant(QStringLiteral("9999-12-31")) : QVariant(range.to)};
}

QDate StoredDate(const QVariant& value) {
    return QDate::fromString(value.toString().left(10), Qt::ISODate);
}

QVariant TextOrNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant CentsOrNull(const std::optional<qint64>& cents) {
    return cents ? QVariant(qlonglong(*cents)) : QVariant();
}

std::optional<qint64> StoredCents(const QVariant& value) {
    if (value.isNull() || value.toString().isEmpty()) {
        return std::nullopt;
    }
    return value.toLongLong();
}

void OpenRows(store::Query& query, store::Connection& connection, const QString& sql,
              const QVariantList& parameters) {
    query.setConnection(&connection);
    query.setSql(sql);
    query.setParameters(parameters);
    query.open();
}

bool HasText(const QString& text) {
    return !text.trimmed().isEmpty();
}

bool HasTasks(const DayTasks& day) {
    return std::any_of(day.slotTexts.cbegin(), day.slotTexts.cend(), HasText);
}

QString SlotList() {
    QStringList quoted;
    for (const QString& slot : store::SlotColumns()) {
        quoted.append(store::QuoteIdentifier(slot));
    }
    return quoted.join(QLatin1String(", "));
}

// The stored slots of a day, or no value when the day has no row.
std::optional<QStringList> StoredSlots(store::Connection& connection, const QDate& date) {
    store::Query query;
    OpenRows(query, connection,
             QStringLiteral("SELECT %1 FROM RANTEBOU WHERE HMEROMHNIA = ?").arg(SlotList()),
             {date});
    if (query.isEmpty()) {
        return std::nullopt;
    }
    QStringList slotTexts;
    for (int column = 0; column < query.fieldCount(); ++column) {
        slotTexts.append(query.asString(column));
    }
    return slotTexts;
}

// Adds text to a slot or a note that may hold something already; false
// when it is there already.
bool MergeText(QString& stored, const QString& added, const QString& separator) {
    const bool present = stored == added || stored.startsWith(added + separator) ||
                         stored.endsWith(separator + added) ||
                         stored.contains(separator + added + separator);
    if (present) {
        return false;
    }
    stored = HasText(stored) ? stored + separator + added : added;
    return true;
}

// Adds an imported text to what a slot holds; false, and the slot listed
// in outcome, when it holds the text already or cannot take it too.
bool MergeSlotText(QString& held, const QString& added, const QString& where, Outcome& outcome) {
    QString merged = held;
    if (!MergeText(merged, added, kSlotTextJoin)) {
        outcome.skip(QStringLiteral("%1: already in the day table").arg(where));
        return false;
    }
    if (merged.size() > store::kShortTextLength) {
        outcome.skip(
            QStringLiteral("%1: %2").arg(where, SlotOverflowReason(held, added, merged.size())));
        return false;
    }
    held = merged;
    ++outcome.written;
    return true;
}

void WriteDay(store::Connection& connection, const QDate& date, const QStringList& slotTexts,
              bool rowExists) {
    QVariantList values;
    for (const QString& text : slotTexts) {
        values.append(TextOrNull(text));
    }
    values.append(date);
    if (rowExists) {
        QStringList assignments;
        for (const QString& slot : store::SlotColumns()) {
            assignments.append(store::QuoteIdentifier(slot) + QStringLiteral(" = ?"));
        }
        store::Execute(connection,
                       QStringLiteral("UPDATE RANTEBOU SET %1 WHERE HMEROMHNIA = ?")
                           .arg(assignments.join(QLatin1String(", "))),
                       values);
        return;
    }
    store::Execute(connection,
                   QStringLiteral("INSERT INTO RANTEBOU (%1, HMEROMHNIA) VALUES (%2?)")
                       .arg(SlotList(), QStringLiteral("?, ").repeated(slotTexts.size())),
                   values);
}

QString ContactKey(const Contact& contact) {
    return QStringList{contact.name, contact.address, contact.phone1,     contact.phone2,
                       contact.fax,  contact.email,   contact.description}
        .join(QChar(0));
}

QString ExpenseKey(const Expense& expense) {
    const auto cents = [](const std::optional<qint64>& value) {
        return value ? QString::number(*value) : QString();
    };
    return QStringList{expense.date.toString(Qt::ISODate), cents(expense.amount),
                       cents(expense.vat), expense.description}
        .join(QChar(0));
}

}  // namespace

QVector<DayTasks> ReadDayTasks(store::Connection& connection, const DateRange& range) {
    store::Query query;
    OpenRows(query, connection,
             QStringLiteral("SELECT HMEROMHNIA, %1 FROM RANTEBOU WHERE HMEROMHNIA BETWEEN ? AND ? "
                            "ORDER BY HMEROMHNIA")
                 .arg(SlotList()),
             RangeParameters(range));
    QVector<DayTasks> days;
    for (query.first(); !query.eof(); query.next()) {
        DayTasks day{StoredDate(query.value(0)), {}};
        for (int column = 1; column < query.fieldCount(); ++column) {
            day.slotTexts.append(query.asString(column));
        }
        if (HasTasks(day)) {
            days.append(day);
        }
    }
    return days;
}

QVector<DayNote> ReadDayNotes(store::Connection& connection, const DateRange& range) {
    store::Query query;
    OpenRows(query, connection,
             QStringLiteral("SELECT HMEROMHNIA, KEIMENO FROM SHMEIWSEIS "
                            "WHERE HMEROMHNIA BETWEEN ? AND ? ORDER BY HMEROMHNIA"),
             RangeParameters(range));
    QVector<DayNote> notes;
    for (query.first(); !query.eof(); query.next()) {
        const DayNote note{StoredDate(query.value(0)), query.asString(1)};
        if (HasText(note.text)) {
            notes.append(note);
        }
    }
    return notes;
}

QVector<Contact> ReadContacts(store::Connection& connection) {
    store::Query query;
    OpenRows(query, connection,
             QStringLiteral("SELECT ONOMATEPWNYMO, DIEYTHYNSH, THLEFWNO_1, THLEFWNO_2, FAX, EMAIL, "
                            "PERIGRAFH FROM XRHSIMA_THLEFWNA ORDER BY rowid"),
             {});
    QVector<Contact> contacts;
    for (query.first(); !query.eof(); query.next()) {
        contacts.append({query.asString(0), query.asString(1), query.asString(2), query.asString(3),
                         query.asString(4), query.asString(5), query.asString(6)});
    }
    return contacts;
}

QVector<Expense> ReadExpenses(store::Connection& connection, const DateRange& range) {
    store::Query query;
    const bool everything = range.from.isNull() && range.to.isNull();
    // Without a range, an expense without a date is exported too.
    OpenRows(query, connection,
             QStringLiteral("SELECT HMEROMHNIA, POSO, VAT, PERIGRAFH FROM EKSODA %1 "
                            "ORDER BY HMEROMHNIA, rowid")
                 .arg(everything ? QString() : QStringLiteral("WHERE HMEROMHNIA BETWEEN ? AND ?")),
             everything ? QVariantList() : RangeParameters(range));
    QVector<Expense> expenses;
    for (query.first(); !query.eof(); query.next()) {
        expenses.append({StoredDate(query.value(0)), StoredCents(query.value(1)),
                         StoredCents(query.value(2)), query.asString(3)});
    }
    return expenses;
}

void AddDayTasks(store::Connection& connection, const QVector<DayTasks>& days, Outcome& outcome,
                 const Progress& progress) {
    for (const DayTasks& day : days) {
        ReportProgress(progress, &day - days.constData() + 1, days.size());
        const std::optional<QStringList> stored = StoredSlots(connection, day.date);
        QStringList slotTexts = stored.value_or(QStringList());
        slotTexts.resize(store::SlotColumns().size());
        bool changed = false;
        for (int slot = 0; slot < slotTexts.size() && slot < day.slotTexts.size(); ++slot) {
            if (!HasText(day.slotTexts.at(slot))) {
                continue;
            }
            const QString where = QStringLiteral("%1 %2").arg(
                day.date.toString(QStringLiteral("dd/MM/yyyy")), store::SlotColumns().at(slot));
            changed =
                MergeSlotText(slotTexts[slot], day.slotTexts.at(slot), where, outcome) || changed;
        }
        if (changed) {
            WriteDay(connection, day.date, slotTexts, stored.has_value());
        }
    }
}

void AddDayNotes(store::Connection& connection, const QVector<DayNote>& notes, Outcome& outcome,
                 const Progress& progress) {
    for (const DayNote& note : notes) {
        ReportProgress(progress, &note - notes.constData() + 1, notes.size());
        const QVariant stored = store::ScalarQuery(
            connection, QStringLiteral("SELECT count(*) FROM SHMEIWSEIS WHERE HMEROMHNIA = ?"),
            {note.date});
        QString text = store::ScalarQuery(connection,
                                          QStringLiteral("SELECT KEIMENO FROM SHMEIWSEIS "
                                                         "WHERE HMEROMHNIA = ?"),
                                          {note.date})
                           .toString();
        if (!MergeText(text, note.text, QStringLiteral("\n\n"))) {
            outcome.skip(QStringLiteral("%1: the notes of the day hold this text already")
                             .arg(note.date.toString(QStringLiteral("dd/MM/yyyy"))));
            continue;
        }
        store::Execute(
            connection,
            stored.toInt() > 0
                ? QStringLiteral("UPDATE SHMEIWSEIS SET KEIMENO = ? WHERE HMEROMHNIA = ?")
                : QStringLiteral("INSERT INTO SHMEIWSEIS (KEIMENO, HMEROMHNIA) VALUES (?, ?)"),
            {text, note.date});
        ++outcome.written;
    }
}

void AddContacts(store::Connection& connection, const QVector<Contact>& contacts, Outcome& outcome,
                 const Progress& progress) {
    QHash<QString, int> present;
    for (const Contact& contact : ReadContacts(connection)) {
        ++present[ContactKey(contact)];
    }
    for (const Contact& contact : contacts) {
        ReportProgress(progress, &contact - contacts.constData() + 1, contacts.size());
        int& count = present[ContactKey(contact)];
        if (count > 0) {
            --count;
            outcome.skip(QStringLiteral("%1: already in the contacts").arg(contact.name));
            continue;
        }
        store::Execute(
            connection,
            QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO, DIEYTHYNSH, "
                           "THLEFWNO_1, THLEFWNO_2, FAX, EMAIL, PERIGRAFH) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {TextOrNull(contact.name), TextOrNull(contact.address), TextOrNull(contact.phone1),
             TextOrNull(contact.phone2), TextOrNull(contact.fax), TextOrNull(contact.email),
             TextOrNull(contact.description)});
        ++outcome.written;
    }
}

void AddExpenses(store::Connection& connection, const QVector<Expense>& expenses, Outcome& outcome,
                 const Progress& progress) {
    QHash<QString, int> present;
    for (const Expense& expense : ReadExpenses(connection, {})) {
        ++present[ExpenseKey(expense)];
    }
    for (const Expense& expense : expenses) {
        ReportProgress(progress, &expense - expenses.constData() + 1, expenses.size());
        int& count = present[ExpenseKey(expense)];
        if (count > 0) {
            --count;
            outcome.skip(
                QStringLiteral("%1 %2: already in the register")
                    .arg(expense.date.toString(QStringLiteral("dd/MM/yyyy")), expense.description));
            continue;
        }
        store::Execute(connection,
                       QStringLiteral("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) "
                                      "VALUES (?, ?, ?, ?)"),
                       {expense.date.isNull() ? QVariant() : QVariant(expense.date),
                        CentsOrNull(expense.amount), CentsOrNull(expense.vat),
                        TextOrNull(expense.description)});
        ++outcome.written;
    }
}

QString SlotOverflowReason(const QString& held, const QString& added, qsizetype length) {
    return QStringLiteral(
               "'%1' does not fit beside '%2': together %3 characters, more than "
               "the %4 a slot holds")
        .arg(Excerpt(added), Excerpt(held))
        .arg(length)
        .arg(store::kShortTextLength);
}

ImportTransaction::ImportTransaction(store::Connection& connection) : connection_(connection) {
    store::Execute(connection_, QStringLiteral("BEGIN IMMEDIATE"));
}

ImportTransaction::~ImportTransaction() {
    if (!committed_) {
        try {
            store::Execute(connection_, QStringLiteral("ROLLBACK"));
        } catch (const std::exception&) {
            // The engine rolls back by itself when the transaction failed.
        }
    }
}

void ImportTransaction::commit() {
    store::Execute(connection_, QStringLiteral("COMMIT"));
    committed_ = true;
}

}  // namespace interchange
