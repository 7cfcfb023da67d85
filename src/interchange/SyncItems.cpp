#include "interchange/SyncItems.h"

#include <QHash>

#include "interchange/ContactsVCard.h"
#include "interchange/DayCalendar.h"
#include "interchange/RecordStore.h"

namespace interchange {
namespace {

QDateTime StampOf(const QDate& date) {
    return QDateTime(date, QTime(0, 0), Qt::UTC);
}

}  // namespace

QList<DavItem> CalendarItems(store::Connection& connection) {
    QList<DavItem> items;
    for (const DayTasks& day : ReadDayTasks(connection, DateRange{})) {
        for (int slot = 0; slot < day.slotTexts.size(); ++slot) {
            const QString& text = day.slotTexts.at(slot);
            if (!text.trimmed().isEmpty()) {
                items.append({SlotEventUid(day.date, slot),
                              SlotEventCalendar(day.date, slot, text, StampOf(day.date))});
            }
        }
    }
    for (const DayNote& note : ReadDayNotes(connection, DateRange{})) {
        items.append({NoteJournalUid(note.date), NoteJournalCalendar(note, StampOf(note.date))});
    }
    return items;
}

QList<DavItem> ContactItems(store::Connection& connection) {
    QList<DavItem> items;
    QHash<QString, int> occurrences;
    for (const Contact& contact : ReadContacts(connection)) {
        const QString uid = ContactUid(contact, occurrences[contact.name]++);
        items.append({uid, WriteVCard(contact, uid)});
    }
    return items;
}

}  // namespace interchange
