// The calendar file of `import ics`, any bytes at all, through libical. It
// is refused with an InterchangeError, or read into days and notes that keep
// what the day table needs: valid dates up to the year 3000, once each and
// in order, the 28 slots of a day with at least one of them filled, no blank
// text, no text lost to a replacement character. What the reader gives the
// writer writes as one event per filled slot and one journal per note, and
// that calendar reads back to the same days and notes, nothing noted.
#include <QRegularExpression>
#include <algorithm>

#include "FuzzSupport.h"
#include "interchange/DayCalendar.h"
#include "store/Schema.h"

namespace {

using interchange::CalendarContent;
using interchange::DayNote;
using interchange::DayTasks;

const QDateTime kExportStamp(QDate(2008, 3, 14), QTime(9, 30), Qt::UTC);

bool HasText(const QString& text) {
    return !text.trimmed().isEmpty();
}

// libical writes no time after the year 3000.
bool WritableDate(const QDate& date) {
    return date.isValid() && date.year() >= 1 && date.year() <= 3000;
}

QString Describe(const CalendarContent& content) {
    QStringList items;
    for (const DayTasks& day : content.days) {
        for (int slot = 0; slot < day.slotTexts.size(); ++slot) {
            if (!day.slotTexts.at(slot).isEmpty()) {
                items.append(QStringLiteral("%1 %2=%3")
                                 .arg(day.date.toString(Qt::ISODate),
                                      store::SlotColumns().value(slot), day.slotTexts.at(slot)));
            }
        }
    }
    for (const DayNote& note : content.notes) {
        items.append(QStringLiteral("%1 note=%2").arg(note.date.toString(Qt::ISODate), note.text));
    }
    return items.join(u'\n');
}

void CheckRefusal(const QString& message, const QByteArray& file, const QString& input) {
    const bool known =
        message.startsWith(QLatin1String("the file holds no calendar")) ||
        message.startsWith(QLatin1String("the calendar does not parse")) ||
        message.startsWith(QLatin1String("a time zone of the file changes more than")) ||
        (message.startsWith(QLatin1String("line ")) && NamesALineOf(message, file));
    Require(known, "a refusal names a line of the file or says why the whole file is refused",
            input, message);
}

void CheckDay(const DayTasks& day, bool fileHasReplacement, const QString& input) {
    const QString date = day.date.toString(Qt::ISODate);
    Require(WritableDate(day.date), "a day has a valid date libical can write", input, date);
    Require(day.slotTexts.size() == store::SlotColumns().size(), "a day has all its slots", input,
            QStringLiteral("%1: %2 slots").arg(date).arg(day.slotTexts.size()));
    Require(std::any_of(day.slotTexts.cbegin(), day.slotTexts.cend(), HasText),
            "a day read has a filled slot", input, date);
    for (const QString& text : day.slotTexts) {
        Require(text.isEmpty() || HasText(text), "a slot is empty or holds text", input, date);
        Require(fileHasReplacement || !text.contains(QChar::ReplacementCharacter),
                "no text is lost to a replacement character", input, text);
    }
}

void CheckContent(const QByteArray& file, const CalendarContent& content,
                  const interchange::Outcome& outcome, const QString& input) {
    Require(outcome.written == 0, "reading writes nothing", input);
    Require(outcome.skipped <= outcome.notes.size(), "a note for every item skipped", input,
            outcome.notes.join(u'\n'));
    for (const QString& note : outcome.notes) {
        Require(HasText(note), "a note says something", input);
    }
    const bool fileHasReplacement = file.contains("\xEF\xBF\xBD");
    for (int i = 0; i < content.days.size(); ++i) {
        CheckDay(content.days.at(i), fileHasReplacement, input);
        Require(i == 0 || content.days.at(i - 1).date < content.days.at(i).date,
                "the days come once each, in order", input, Describe(content));
    }
    for (int i = 0; i < content.notes.size(); ++i) {
        const DayNote& note = content.notes.at(i);
        Require(WritableDate(note.date), "a note has a valid date libical can write", input,
                note.date.toString(Qt::ISODate));
        Require(HasText(note.text), "a note holds text", input);
        Require(fileHasReplacement || !note.text.contains(QChar::ReplacementCharacter),
                "no text is lost to a replacement character", input, note.text);
        Require(i == 0 || content.notes.at(i - 1).date < note.date,
                "the notes come once each day, in order", input, Describe(content));
    }
}

void CheckRoundTrip(const CalendarContent& content, const QString& input) {
    const interchange::CalendarText written =
        interchange::WriteCalendar(content.days, content.notes, kExportStamp);
    qsizetype filled = 0;
    for (const DayTasks& day : content.days) {
        filled += std::count_if(day.slotTexts.cbegin(), day.slotTexts.cend(), HasText);
    }
    Require(written.events == filled && written.journals == content.notes.size(),
            "one event for each filled slot, one journal for each note", input);
    interchange::Outcome outcome;
    CalendarContent again;
    try {
        again = interchange::ReadCalendar(written.text, outcome);
    } catch (const interchange::InterchangeError& error) {
        Require(false, "the writer's calendar reads back", input,
                error.message() + "\n" + QString::fromUtf8(written.text));
    }
    Require(outcome.skipped == 0 && outcome.notes.isEmpty(),
            "the writer's calendar reads back whole", input, outcome.notes.join(u'\n'));
    Require(again.days == content.days && again.notes == content.notes,
            "the days and notes written read back the same", input,
            Describe(content) + "\n!=\n" + Describe(again));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString input = FuzzText(data, size);
    interchange::Outcome outcome;
    CalendarContent content;
    try {
        content = interchange::ReadCalendar(bytes, outcome);
    } catch (const interchange::InterchangeError& error) {
        CheckRefusal(error.message(), bytes, input);
        return 0;
    } catch (...) {
        Require(false, "a file is refused only with InterchangeError", input);
    }
    CheckContent(bytes, content, outcome, input);
    CheckRoundTrip(content, input);
    return 0;
}
