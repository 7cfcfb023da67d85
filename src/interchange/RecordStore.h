#pragma once

#include <QVector>

#include "interchange/InterchangeRecords.h"

namespace store {
class Connection;
}

// The organizer's tables as lists of records: what an export reads and an
// import adds. Every date and text reaches SQL as a bound parameter.
namespace interchange {

// Days with at least one filled slot, by date.
QVector<DayTasks> ReadDayTasks(store::Connection& connection, const DateRange& range);
// Notes with text, by date.
QVector<DayNote> ReadDayNotes(store::Connection& connection, const DateRange& range);
// In the order the rows were added, so that the occurrence of a name among
// equal names stays the same from one export to the next.
QVector<Contact> ReadContacts(store::Connection& connection);
QVector<Expense> ReadExpenses(store::Connection& connection, const DateRange& range);

// The adders merge into what the tables hold and count in outcome. Each
// runs inside the caller's ImportTransaction.
//
// A slot that is free takes the imported text; a slot that holds it already
// is left as it is; a slot holding another text gets both, joined by " / ",
// unless together they are longer than the slot's column: then the slot
// keeps its text and the imported one is listed in outcome.
void AddDayTasks(store::Connection& connection, const QVector<DayTasks>& days, Outcome& outcome,
                 const Progress& progress = {});
// A day without notes takes the imported text; other notes of the day keep
// theirs and get the imported text after an empty line, unless they hold it.
void AddDayNotes(store::Connection& connection, const QVector<DayNote>& notes, Outcome& outcome,
                 const Progress& progress = {});
// A contact or an expense already present (every field equal) is not added
// a second time: importing the same file twice changes nothing.
void AddContacts(store::Connection& connection, const QVector<Contact>& contacts, Outcome& outcome,
                 const Progress& progress = {});
void AddExpenses(store::Connection& connection, const QVector<Expense>& expenses, Outcome& outcome,
                 const Progress& progress = {});

// All of an import or nothing: rolled back unless commit() was called.
class ImportTransaction {
public:
    explicit ImportTransaction(store::Connection& connection);
    ~ImportTransaction();
    ImportTransaction(const ImportTransaction&) = delete;
    ImportTransaction& operator=(const ImportTransaction&) = delete;

    void commit();

private:
    store::Connection& connection_;
    bool committed_ = false;
};

// Joins the texts of two events planned in one slot.
inline const QString kSlotTextJoin = QStringLiteral(" / ");

// Why added cannot join the text a slot holds: joined, they would be
// length characters, more than the slot's column takes.
QString SlotOverflowReason(const QString& held, const QString& added, qsizetype length);

}  // namespace interchange
