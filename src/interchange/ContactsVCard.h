#pragma once

#include <QByteArray>
#include <QVector>

#include "interchange/InterchangeRecords.h"

// The contacts as vCard 4.0 (RFC 6350): FN, ADR, two TEL, TEL;TYPE=fax,
// EMAIL and NOTE. The reader takes vCard 3.0 (RFC 2426) and the 2.1 of
// phones and older address books too: quoted-printable values in the
// character set their CHARSET names, bare types, base64 values left out.
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

// Every contact of the file. A card without any of the fields, or with a
// field longer than its column, is left out and listed in outcome, as is a
// value that has no field here (a third telephone, an ORG, a PHOTO).
// Throws InterchangeError naming the first bad line: one that is no
// property, a value that does not decode, an unknown character set.
QVector<Contact> ReadVCards(const QByteArray& file, Outcome& outcome);

// A content line cut into lines of at most 75 octets, each continuation
// starting with a space, never inside a UTF-8 character; CRLF after each.
QByteArray FoldContentLine(const QByteArray& line);

}  // namespace interchange
