#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QVector>

#include "interchange/InterchangeRecords.h"

// The day tasks and notes as iCalendar (RFC 5545), written and read with
// libical: every filled half-hour slot is a VEVENT in Europe/Athens time,
// every day's notes a VJOURNAL on its date.
namespace interchange {

inline constexpr char kCalendarTimeZone[] = "Europe/Athens";

// Stable identities: a second export of the same slot or notes carries the
// same UID, so that a calendar updates the item instead of adding another.
QString SlotEventUid(const QDate& date, int slot);
QString NoteJournalUid(const QDate& date);

struct CalendarText {
    QByteArray text;
    int events = 0;
    int journals = 0;
};

// The whole calendar: one VTIMEZONE, the events of the days, the journals
// of the notes. stamp is the DTSTAMP of every item (the time of export).
CalendarText WriteCalendar(const QVector<DayTasks>& days, const QVector<DayNote>& notes,
                           const QDateTime& stamp);

// One item as a calendar of its own, VTIMEZONE included: what a calendar
// server stores as one resource.
QByteArray SlotEventCalendar(const QDate& date, int slot, const QString& text,
                             const QDateTime& stamp);
QByteArray NoteJournalCalendar(const DayNote& note, const QDateTime& stamp);

struct CalendarContent {
    QVector<DayTasks> days;
    QVector<DayNote> notes;
};

// The slots and notes a calendar file fills. An event fills the slot it
// starts in and every further slot it covers; two events in one slot are
// joined with " / "; an event that fits no slot (all day, before 08:00,
// from 22:00) is listed in outcome, as is every other item the day table
// cannot hold. Throws InterchangeError for a file that is cut short or
// does not parse, naming the line.
CalendarContent ReadCalendar(const QByteArray& file, Outcome& outcome);

}  // namespace interchange
