#pragma once

#include <QByteArray>
#include <QVector>

#include "interchange/InterchangeRecords.h"

// The contacts as vCard 4.0 (RFC 6350): FN, ADR, two TEL, TEL;TYPE=fax,
// EMAIL and NOTE. The reader takes vCard 3.0 (RFC 2426) too.
namespace interchange {

// The UID a contact keeps from one export to the next: derived from its
// name and, among contacts of the same name, from its place in the order
// they were added (occurrence 0 for the first).
QString ContactUid(const Contact& contact, int occurrence);

// One vCard, BEGIN to END, CRLF line ends, folded: what a file holds for
// one contact and what an address-book server stores as one item.
QByteArray WriteVCard(const Contact& contact, const QString& uid);

// Every contact, each with its ContactUid.
QByteArray WriteVCards(const QVector<Contact>& contacts);

// Every contact of the file. A card without any of the fields is left out,
// a value that has no field here (a third telephone, an ORG) is listed in
// outcome. Throws InterchangeError naming the first bad line.
QVector<Contact> ReadVCards(const QByteArray& file, Outcome& outcome);

// A content line cut into lines of at most 75 octets, each continuation
// starting with a space, never inside a UTF-8 character; CRLF after each.
QByteArray FoldContentLine(const QByteArray& line);

}  // namespace interchange
