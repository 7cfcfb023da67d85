#include "interchange/DayCalendar.h"

#include <libical/ical.h>

#include <QMap>
#include <algorithm>
#include <memory>

#include "interchange/RecordStore.h"
#include "store/Schema.h"

namespace interchange {
namespace {

constexpr int kFirstSlotMinute = 8 * 60;
constexpr int kLastSlotEndMinute = 22 * 60;
constexpr int kSlotMinutes = 30;
// An event longer than this is not spread over the day table.
constexpr qint64 kLongestPlacedEventDays = 31;
const QString kCalendarDateText = QStringLiteral("dd/MM/yyyy");

// The zone's rules since 1996 (EU summer time); the slots only span 08:00
// to 22:00, far from the hour that moves.
constexpr char kAthensTimeZone[] =
    "BEGIN:VTIMEZONE\r\n"
    "TZID:Europe/Athens\r\n"
    "BEGIN:DAYLIGHT\r\n"
    "TZOFFSETFROM:+0200\r\n"
    "TZOFFSETTO:+0300\r\n"
    "TZNAME:EEST\r\n"
    "DTSTART:19810329T030000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
    "END:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\n"
    "TZOFFSETFROM:+0300\r\n"
    "TZOFFSETTO:+0200\r\n"
    "TZNAME:EET\r\n"
    "DTSTART:19961027T040000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
    "END:STANDARD\r\n"
    "END:VTIMEZONE\r\n";

struct ComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentDeleter>;

icaltimezone* AthensZone() {
    static icaltimezone* zone = [] {
        icaltimezone* made = icaltimezone_new();
        icaltimezone_set_component(made, icalparser_parse_string(kAthensTimeZone));
        return made;
    }();
    return zone;
}

icaltimetype SlotTime(const QDate& date, int minute) {
    icaltimetype time = icaltime_null_time();
    time.year = date.year();
    time.month = date.month();
    time.day = date.day();
    time.hour = minute / 60;
    time.minute = minute % 60;
    time.zone = AthensZone();
    return time;
}

icaltimetype UtcTime(const QDateTime& stamp) {
    return icaltime_from_timet_with_zone(stamp.toSecsSinceEpoch(), 0,
                                         icaltimezone_get_utc_timezone());
}

Component NewCalendar() {
    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(
        calendar.get(),
        icalproperty_new_prodid("-//KAVELO SOFTWARE DEVELOPMENT//KAVELO ORGANIZER//EL"));
    icalcomponent_add_component(calendar.get(), icalparser_parse_string(kAthensTimeZone));
    return calendar;
}

icalcomponent* SlotEvent(const QDate& date, int slot, const QString& text, const QDateTime& stamp) {
    icalcomponent* event = icalcomponent_new_vevent();
    const int start = kFirstSlotMinute + slot * kSlotMinutes;
    icalcomponent_set_uid(event, SlotEventUid(date, slot).toUtf8().constData());
    icalcomponent_set_dtstamp(event, UtcTime(stamp));
    icalcomponent_set_dtstart(event, SlotTime(date, start));
    icalcomponent_set_dtend(event, SlotTime(date, start + kSlotMinutes));
    icalcomponent_set_summary(event, text.toUtf8().constData());
    return event;
}

icalcomponent* NoteJournal(const DayNote& note, const QDateTime& stamp) {
    icalcomponent* journal = icalcomponent_new_vjournal();
    icalcomponent_set_uid(journal, NoteJournalUid(note.date).toUtf8().constData());
    icalcomponent_set_dtstamp(journal, UtcTime(stamp));
    icaltimetype day = icaltime_null_date();
    day.year = note.date.year();
    day.month = note.date.month();
    day.day = note.date.day();
    icalcomponent_set_dtstart(journal, day);
    icalcomponent_set_description(journal, note.text.toUtf8().constData());
    return journal;
}

QByteArray CalendarBytes(icalcomponent* calendar) {
    char* text = icalcomponent_as_ical_string_r(calendar);
    const QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

// libical accepts a file cut short without a word; the nesting of BEGIN and
// END lines shows it, and names the line of the component left open. A file
// cut short is named so even when its last line is cut too.
void CheckCalendarStructure(const QByteArray& file) {
    QVector<QPair<QByteArray, int>> open;
    std::optional<QPair<int, QString>> badLine;
    const QList<QByteArray> lines = file.split('\n');
    bool any = false;
    for (int i = 0; i < lines.size() && !badLine; ++i) {
        const QByteArray line = lines.at(i).trimmed();
        if (line.isEmpty() || lines.at(i).startsWith(' ') || lines.at(i).startsWith('\t')) {
            continue;
        }
        if (!line.contains(':')) {
            badLine = {i + 1, QStringLiteral("'%1' is not an iCalendar line (no colon)")
                                  .arg(QString::fromUtf8(line.left(40)))};
            continue;
        }
        const QByteArray name = line.left(line.indexOf(':')).toUpper();
        const QByteArray value = line.mid(line.indexOf(':') + 1).toUpper();
        if (name == "BEGIN") {
            open.append({value, i + 1});
            any = true;
        } else if (name == "END") {
            if (open.isEmpty() || open.last().first != value) {
                ThrowAtLine(i + 1, QStringLiteral("END:%1 does not close what is open")
                                       .arg(QString::fromUtf8(value)));
            }
            open.removeLast();
        } else if (open.isEmpty()) {
            ThrowAtLine(i + 1, QStringLiteral("a line outside BEGIN:VCALENDAR ... END:VCALENDAR"));
        }
    }
    const bool lastLineCut = badLine && badLine->first >= lines.size() - 1;
    if (badLine && !lastLineCut) {
        ThrowAtLine(badLine->first, badLine->second);
    }
    if (!any) {
        throw InterchangeError(QStringLiteral("the file holds no calendar (no BEGIN:VCALENDAR)"));
    }
    if (!open.isEmpty()) {
        ThrowAtLine(open.last().second,
                    QStringLiteral("BEGIN:%1 is never closed: the file is cut short")
                        .arg(QString::fromUtf8(open.last().first)));
    }
}

// libical takes any bytes, and a summary that is not UTF-8 would reach the
// day table as replacement characters: a file saved in a Greek code page is
// refused instead, naming the line. The folds are undone first, as a fold
// may fall inside a character.
void CheckCalendarUtf8(const QByteArray& file) {
    const QList<QByteArray> lines = file.split('\n');
    QByteArray logical;
    int logicalLine = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).endsWith('\r') ? lines.at(i).chopped(1) : lines.at(i);
        if (logicalLine > 0 && (line.startsWith(' ') || line.startsWith('\t'))) {
            logical += line.mid(1);
            continue;
        }
        if (logicalLine > 0) {
            DecodeUtf8Line(logical, logicalLine);
        }
        logical = line;
        logicalLine = i + 1;
    }
    DecodeUtf8Line(logical, logicalLine);
}

// libical reads a backslash before any character but \ ; , n N as a space
// in place of both ("C:\Docs" becomes "C: ocs"), and before a Greek letter
// it leaves half of the letter. In the summaries and descriptions such a
// backslash is doubled, so that both characters are kept. The folds are
// undone first, as one may fall between a backslash and its character.
QByteArray KeepUnknownEscapes(const QByteArray& file) {
    QByteArray unfolded = file;
    unfolded.replace("\r\n ", "").replace("\r\n\t", "").replace("\n ", "").replace("\n\t", "");
    const QByteArray knownEscapes = "\\;,nN";
    QList<QByteArray> lines = unfolded.split('\n');
    for (QByteArray& line : lines) {
        const QByteArray name = line.left(line.indexOf(':')).split(';').first().toUpper();
        if (name != "SUMMARY" && name != "DESCRIPTION") {
            continue;
        }
        // The value starts at the first colon outside a quoted parameter.
        bool quoted = false;
        qsizetype colon = 0;
        while (colon < line.size() && (line.at(colon) != ':' || quoted)) {
            quoted = line.at(colon++) == '"' ? !quoted : quoted;
        }
        QByteArray kept = line.left(colon + 1);
        for (qsizetype i = colon + 1; i < line.size(); ++i) {
            if (line.at(i) != '\\') {
                kept += line.at(i);
            } else if (i + 1 < line.size() && knownEscapes.contains(line.at(i + 1))) {
                kept += line.mid(i++, 2);
            } else {
                kept += "\\\\";
            }
        }
        line = kept;
    }
    return lines.join('\n');
}

// libical marks what it could not parse with X-LIC-ERROR properties.
void CheckParseErrors(icalcomponent* component) {
    for (icalproperty* error = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
         error != nullptr;
         error = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
        const QString text = QString::fromUtf8(icalproperty_get_xlicerror(error));
        // An empty property (SUMMARY: with nothing after it) loses nothing.
        if (!text.startsWith(QLatin1String("No value for"))) {
            throw InterchangeError(QStringLiteral("the calendar does not parse: %1").arg(text));
        }
    }
    for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
         child != nullptr;
         child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
        CheckParseErrors(child);
    }
}

// libical works out every change of a zone from its start up to the time it
// converts, so a zone of the file that changes every minute would keep an
// import busy for hours. A real zone changes a few times a year at most.
void CheckTimeZoneRules(icalcomponent* component) {
    constexpr int kMostChangesInAYear = 4;
    for (icalcomponent* part = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
         part != nullptr; part = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
        CheckTimeZoneRules(part);
    }
    if (icalcomponent_isa(component) != ICAL_XSTANDARD_COMPONENT &&
        icalcomponent_isa(component) != ICAL_XDAYLIGHT_COMPONENT) {
        return;
    }
    const icaltimetype start = icalcomponent_get_dtstart(component);
    icaltimetype yearLater = start;
    yearLater.year += 1;
    for (icalproperty* rule = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY);
         rule != nullptr; rule = icalcomponent_get_next_property(component, ICAL_RRULE_PROPERTY)) {
        icalrecur_iterator* changes = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
        if (changes == nullptr) {
            continue;
        }
        int count = 0;
        for (icaltimetype change = icalrecur_iterator_next(changes);
             !icaltime_is_null_time(change) && icaltime_compare(change, yearLater) < 0 &&
             count <= kMostChangesInAYear;
             change = icalrecur_iterator_next(changes)) {
            ++count;
        }
        icalrecur_iterator_free(changes);
        if (count > kMostChangesInAYear) {
            throw InterchangeError(
                QStringLiteral("a time zone of the file changes more than %1 times a year (%2)")
                    .arg(kMostChangesInAYear)
                    .arg(QString::fromUtf8(icalproperty_as_ical_string(rule)).trimmed()));
        }
    }
}

// libical keeps a floating time or a date as the file writes it, month 13
// or hour 25 included, and reads years it cannot write: it writes no time
// after the year 3000.
bool IsRealTime(const icaltimetype& time) {
    constexpr int kLastWritableYear = 3000;
    return QDate(time.year, time.month, time.day).isValid() && time.year <= kLastWritableYear &&
           (time.is_date || QTime(time.hour, time.minute, time.second).isValid());
}

// The text of a summary or a description as the day table keeps it. libical
// reads a CR, a form feed and a backspace but never writes them back: the
// first two are taken as the line breaks they stand for and the backspace,
// which no text field shows, is left out, so that the text exports as it
// was read.
QString ItemText(const char* value) {
    QString text = QString::fromUtf8(value);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\f'), QLatin1Char('\n'));
    text.remove(QLatin1Char('\b'));
    return text;
}

// Minutes since the epoch of a local time, without any zone of its own.
qint64 LocalMinutes(const icaltimetype& time) {
    const QDateTime local(QDate(time.year, time.month, time.day), QTime(time.hour, time.minute),
                          Qt::UTC);
    return local.toSecsSinceEpoch() / 60;
}

QDateTime FromLocalMinutes(qint64 minutes) {
    return QDateTime::fromSecsSinceEpoch(minutes * 60, Qt::UTC);
}

// How a message names an event: its local start and its summary.
QString EventName(const QString& summary, qint64 localMinutes) {
    const QDateTime local = FromLocalMinutes(localMinutes);
    return QStringLiteral("%1 %2 '%3'")
        .arg(local.date().toString(kCalendarDateText),
             local.time().toString(QStringLiteral("HH:mm")), summary);
}

struct PlacedEvent {
    qint64 start = 0;
    qint64 end = 0;
    QString summary;
};

// Fills the day table from the events and the notes.
class CalendarPlacer {
public:
    explicit CalendarPlacer(Outcome& outcome) : outcome_(outcome) {}

    void takeEvent(icalcomponent* event) {
        const QString summary = ItemText(icalcomponent_get_summary(event));
        icaltimetype start = icalcomponent_get_dtstart(event);
        if (icaltime_is_null_time(start)) {
            outcome_.skip(QStringLiteral("event '%1': it has no start").arg(summary));
            return;
        }
        if (start.is_date) {
            outcome_.skip(
                QStringLiteral("%1 '%2': an all-day event fits no half-hour slot")
                    .arg(QDate(start.year, start.month, start.day).toString(kCalendarDateText),
                         summary));
            return;
        }
        start = icaltime_convert_to_zone(start, AthensZone());
        icaltimetype end = icalcomponent_get_dtend(event);
        end = icaltime_is_null_time(end) ? start : icaltime_convert_to_zone(end, AthensZone());
        if (!IsRealTime(start) || !IsRealTime(end)) {
            outcome_.skip(QStringLiteral("event '%1': its start or end is not a real date and time")
                              .arg(summary));
            return;
        }
        if (summary.trimmed().isEmpty()) {
            outcome_.skip(QStringLiteral("%1: an event without a summary")
                              .arg(EventName(summary, LocalMinutes(start))));
            return;
        }
        if (icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) != nullptr) {
            outcome_.notes.append(QStringLiteral("%1: a repeating event, only its first time was "
                                                 "placed")
                                      .arg(EventName(summary, LocalMinutes(start))));
        }
        events_.append(
            {LocalMinutes(start), std::max(LocalMinutes(start), LocalMinutes(end)), summary});
    }

    void takeJournal(icalcomponent* journal) {
        QStringList texts;
        for (icalproperty* p = icalcomponent_get_first_property(journal, ICAL_DESCRIPTION_PROPERTY);
             p != nullptr;
             p = icalcomponent_get_next_property(journal, ICAL_DESCRIPTION_PROPERTY)) {
            texts.append(ItemText(icalproperty_get_description(p)));
        }
        QString text = texts.join(QLatin1Char('\n'));
        if (text.trimmed().isEmpty()) {
            text = ItemText(icalcomponent_get_summary(journal));
        }
        icaltimetype start = icalcomponent_get_dtstart(journal);
        if (!icaltime_is_null_time(start) && !start.is_date) {
            start = icaltime_convert_to_zone(start, AthensZone());
        }
        if (icaltime_is_null_time(start) || !IsRealTime(start) || text.trimmed().isEmpty()) {
            outcome_.skip(QStringLiteral("a journal entry without %1 ('%2')")
                              .arg(text.trimmed().isEmpty() ? QStringLiteral("text")
                                                            : QStringLiteral("a date"),
                                   text.left(40)));
            return;
        }
        QString& note = notes_[QDate(start.year, start.month, start.day)];
        note = note.isEmpty() ? text : note + QStringLiteral("\n\n") + text;
    }

    void takeOther(icalcomponent* component) {
        const QString summary = QString::fromUtf8(icalcomponent_get_summary(component));
        outcome_.skip(
            QStringLiteral("%1 '%2': the day table holds no such item")
                .arg(QString::fromUtf8(icalcomponent_kind_to_string(icalcomponent_isa(component))),
                     summary));
    }

    CalendarContent finish() {
        std::stable_sort(
            events_.begin(), events_.end(),
            [](const PlacedEvent& a, const PlacedEvent& b) { return a.start < b.start; });
        for (const PlacedEvent& event : events_) {
            place(event);
        }
        CalendarContent content;
        for (auto day = days_.cbegin(); day != days_.cend(); ++day) {
            content.days.append({day.key(), day.value()});
        }
        for (auto note = notes_.cbegin(); note != notes_.cend(); ++note) {
            content.notes.append({note.key(), note.value()});
        }
        return content;
    }

private:
    // The slot it starts in, then every slot it covers up to its end.
    void place(const PlacedEvent& event) {
        const QString name = EventName(Excerpt(event.summary), event.start);
        if (event.end - event.start > kLongestPlacedEventDays * 24 * 60) {
            outcome_.skip(
                QStringLiteral("%1: longer than %2 days").arg(name).arg(kLongestPlacedEventDays));
            return;
        }
        if (event.summary.size() > store::kShortTextLength) {
            outcome_.skip(QStringLiteral("%1: the summary has %2 characters, more than the %3 a "
                                         "slot holds")
                              .arg(name)
                              .arg(event.summary.size())
                              .arg(store::kShortTextLength));
            return;
        }
        int placed = 0;
        bool refused = false;
        bool outside = false;
        const qint64 first =
            event.start - ((event.start % kSlotMinutes) + kSlotMinutes) % kSlotMinutes;
        for (qint64 slotStart = first; slotStart == first || slotStart < event.end;
             slotStart += kSlotMinutes) {
            const QDateTime local = FromLocalMinutes(slotStart);
            const int minute = local.time().hour() * 60 + local.time().minute();
            if (minute < kFirstSlotMinute || minute >= kLastSlotEndMinute) {
                outside = true;
            } else if (placeInSlot(event.summary, local.date(),
                                   (minute - kFirstSlotMinute) / kSlotMinutes)) {
                ++placed;
            } else {
                refused = true;
            }
        }
        if (placed == 0 && !refused) {
            outcome_.skip(QStringLiteral("%1: outside the slots of 08:00 to 22:00").arg(name));
        } else if (placed > 0 && outside) {
            outcome_.notes.append(
                QStringLiteral("%1: only its part between 08:00 and 22:00 was placed").arg(name));
        }
    }

    // Joins the summary to what the file put in the slot before; false, and
    // the slot listed, when the two together do not fit the slot.
    bool placeInSlot(const QString& summary, const QDate& date, int slot) {
        QStringList& slotTexts = days_[date];
        slotTexts.resize(store::SlotColumns().size());
        QString& text = slotTexts[slot];
        if (text.split(kSlotTextJoin).contains(summary)) {
            return true;
        }
        const QString joined = text.isEmpty() ? summary : text + kSlotTextJoin + summary;
        if (joined.size() > store::kShortTextLength) {
            outcome_.skip(QStringLiteral("%1 %2: %3")
                              .arg(date.toString(kCalendarDateText), store::SlotColumns().at(slot),
                                   SlotOverflowReason(text, summary, joined.size())));
            return false;
        }
        text = joined;
        return true;
    }

    Outcome& outcome_;
    QVector<PlacedEvent> events_;
    QMap<QDate, QStringList> days_;
    QMap<QDate, QString> notes_;
};

void PlaceComponents(icalcomponent* calendar, CalendarPlacer& placer) {
    for (icalcomponent* item = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
         item != nullptr; item = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        switch (icalcomponent_isa(item)) {
            case ICAL_VEVENT_COMPONENT:
                placer.takeEvent(item);
                break;
            case ICAL_VJOURNAL_COMPONENT:
                placer.takeJournal(item);
                break;
            case ICAL_VTIMEZONE_COMPONENT:
                break;
            case ICAL_VCALENDAR_COMPONENT:
                PlaceComponents(item, placer);
                break;
            default:
                placer.takeOther(item);
                break;
        }
    }
}

}  // namespace

QString SlotEventUid(const QDate& date, int slot) {
    return QStringLiteral("%1-%2@kavelo-organizer")
        .arg(date.toString(QStringLiteral("yyyyMMdd")), store::SlotColumns().at(slot));
}

QString NoteJournalUid(const QDate& date) {
    return QStringLiteral("%1-notes@kavelo-organizer")
        .arg(date.toString(QStringLiteral("yyyyMMdd")));
}

CalendarText WriteCalendar(const QVector<DayTasks>& days, const QVector<DayNote>& notes,
                           const QDateTime& stamp) {
    const Component calendar = NewCalendar();
    CalendarText result;
    for (const DayTasks& day : days) {
        for (int slot = 0; slot < day.slotTexts.size(); ++slot) {
            if (!day.slotTexts.at(slot).trimmed().isEmpty()) {
                icalcomponent_add_component(
                    calendar.get(), SlotEvent(day.date, slot, day.slotTexts.at(slot), stamp));
                ++result.events;
            }
        }
    }
    for (const DayNote& note : notes) {
        icalcomponent_add_component(calendar.get(), NoteJournal(note, stamp));
        ++result.journals;
    }
    result.text = CalendarBytes(calendar.get());
    return result;
}

QByteArray SlotEventCalendar(const QDate& date, int slot, const QString& text,
                             const QDateTime& stamp) {
    const Component calendar = NewCalendar();
    icalcomponent_add_component(calendar.get(), SlotEvent(date, slot, text, stamp));
    return CalendarBytes(calendar.get());
}

QByteArray NoteJournalCalendar(const DayNote& note, const QDateTime& stamp) {
    const Component calendar = NewCalendar();
    icalcomponent_add_component(calendar.get(), NoteJournal(note, stamp));
    return CalendarBytes(calendar.get());
}

CalendarContent ReadCalendar(const QByteArray& withMark, Outcome& outcome) {
    const QByteArray file = WithoutByteOrderMark(withMark);
    CheckCalendarStructure(file);
    CheckCalendarUtf8(file);
    const Component root(icalparser_parse_string(KeepUnknownEscapes(file).constData()));
    if (!root) {
        throw InterchangeError(QStringLiteral("the calendar does not parse"));
    }
    CheckParseErrors(root.get());
    CheckTimeZoneRules(root.get());
    CalendarPlacer placer(outcome);
    PlaceComponents(root.get(), placer);
    return placer.finish();
}

}  // namespace interchange
