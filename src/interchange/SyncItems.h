#pragma once

#include <QList>

#include "interchange/DavPublisher.h"

namespace store {
class Connection;
}

// What a publication puts on the server: one item per filled slot and per
// day's notes, one per contact, each with the UID an export gives it. The
// stamp of an item is fixed by its date, so that an item is sent again only
// when its text changed.
namespace interchange {

QList<DavItem> CalendarItems(store::Connection& connection);
QList<DavItem> ContactItems(store::Connection& connection);

}  // namespace interchange
