#include "interchange/Interchange.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include "interchange/ContactsVCard.h"
#include "interchange/DayCalendar.h"
#include "interchange/ExpensesCsv.h"
#include "interchange/RecordStore.h"

namespace interchange {
namespace {

void WriteWhole(const QString& path, const QByteArray& contents) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
        !file.commit()) {
        throw InterchangeError(
            QStringLiteral("cannot write '%1': %2").arg(path, file.errorString()));
    }
}

QByteArray ReadWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw InterchangeError(
            QStringLiteral("cannot read '%1': %2").arg(path, file.errorString()));
    }
    return file.readAll();
}

QByteArray ExportCalendar(store::Connection& connection, const DateRange& range, Outcome& outcome) {
    const QVector<DayTasks> days = ReadDayTasks(connection, range);
    const QVector<DayNote> notes = ReadDayNotes(connection, range);
    const CalendarText calendar = WriteCalendar(days, notes, QDateTime::currentDateTimeUtc());
    outcome.written = calendar.events + calendar.journals;
    return calendar.text;
}

void ImportCalendar(store::Connection& connection, const QByteArray& file, Outcome& outcome,
                    const Progress& progress) {
    const CalendarContent content = ReadCalendar(file, outcome);
    AddDayTasks(connection, content.days, outcome, progress);
    AddDayNotes(connection, content.notes, outcome, progress);
}

}  // namespace

std::optional<Format> FormatNamed(const QString& name) {
    if (name == QLatin1String("ics")) {
        return Format::Calendar;
    }
    if (name == QLatin1String("vcf")) {
        return Format::Contacts;
    }
    if (name == QLatin1String("csv")) {
        return Format::Expenses;
    }
    return std::nullopt;
}

bool FormatHasDates(Format format) {
    return format != Format::Contacts;
}

Outcome ExportFile(store::Connection& connection, Format format, const QString& path,
                   const DateRange& range, const Progress& progress) {
    Outcome outcome;
    QByteArray contents;
    switch (format) {
        case Format::Calendar:
            contents = ExportCalendar(connection, range, outcome);
            break;
        case Format::Contacts: {
            const QVector<Contact> contacts = ReadContacts(connection);
            contents = WriteVCards(contacts);
            outcome.written = int(contacts.size());
            break;
        }
        case Format::Expenses: {
            const QVector<Expense> expenses = ReadExpenses(connection, range);
            contents = WriteExpensesCsv(expenses);
            outcome.written = int(expenses.size());
            break;
        }
    }
    WriteWhole(path, contents);
    ReportProgress(progress, outcome.written, outcome.written);
    return outcome;
}

Outcome ImportFile(store::Connection& connection, Format format, const QString& path,
                   const Progress& progress) {
    const QByteArray file = ReadWhole(path);
    Outcome outcome;
    ImportTransaction transaction(connection);
    switch (format) {
        case Format::Calendar:
            ImportCalendar(connection, file, outcome, progress);
            break;
        case Format::Contacts:
            AddContacts(connection, ReadVCards(file, outcome), outcome, progress);
            break;
        case Format::Expenses:
            AddExpenses(connection, ReadExpensesCsv(file, outcome), outcome, progress);
            break;
    }
    transaction.commit();
    return outcome;
}

}  // namespace interchange
