// The contacts file of `import vcf`, any bytes at all. It is refused with an
// InterchangeError that names a line of the file, or read into contacts that
// keep what the table needs: one contact or one skip for every card the
// file begins, no contact without a field, every note accounted for. What
// the reader gives the writer writes in lines of at most 75 octets of whole
// characters, and that file reads back to the same contacts, nothing noted.
#include <QRegularExpression>
#include <algorithm>

#include "ReaderFuzzSupport.h"
#include "interchange/ContactsVCard.h"

namespace {

using interchange::Contact;

QStringList Fields(const Contact& c) {
    return {c.name, c.address, c.phone1, c.phone2, c.fax, c.email, c.description};
}

QString Describe(const Contact& c) {
    return Fields(c).join(u'|');
}

// The lines of the file with the folds undone: a line that starts with a
// space or a tab goes on the one before it.
QStringList UnfoldedLines(const QByteArray& file) {
    QStringList lines;
    for (QByteArray line : file.split('\n')) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (!lines.isEmpty() && (line.startsWith(' ') || line.startsWith('\t'))) {
            lines.last() += QString::fromUtf8(line.mid(1));
        } else {
            lines.append(QString::fromUtf8(line));
        }
    }
    return lines;
}

// BEGIN:VCARD, with a group before the name and parameters after it if any;
// a colon inside quotes does not start the value.
bool BeginsACard(const QString& line) {
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size() && colon < 0; ++i) {
        if (line.at(i) == u'"') {
            quoted = !quoted;
        } else if (line.at(i) == u':' && !quoted) {
            colon = i;
        }
    }
    if (colon < 0) {
        return false;
    }
    QString name = line.left(colon);
    name.truncate(name.indexOf(u';') < 0 ? name.size() : name.indexOf(u';'));
    name = name.mid(name.lastIndexOf(u'.') + 1);
    return name.compare(QLatin1String("BEGIN"), Qt::CaseInsensitive) == 0 &&
           line.mid(colon + 1).trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0;
}

void CheckContacts(const QByteArray& file, const QVector<Contact>& contacts,
                   const interchange::Outcome& outcome, const QString& input) {
    // A card without fields, or with a field longer than its column holds.
    static const QRegularExpression skipNote(
        QStringLiteral("^line [1-9][0-9]*: (?:a vCard without a name or any other field|.*: not "
                       "imported, the .+ has [0-9]+ characters, more than the 255 .+)$"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression leftOutNote(
        QStringLiteral("^.*: not imported, no such field here: .+$"),
        QRegularExpression::DotMatchesEverythingOption);
    Require(outcome.written == 0, "reading writes nothing", input);
    int skips = 0;
    for (const QString& note : outcome.notes) {
        if (skipNote.match(note).hasMatch()) {
            ++skips;
        } else {
            Require(leftOutNote.match(note).hasMatch(), "a note says what was left out", input,
                    note);
        }
    }
    Require(skips == outcome.skipped, "a note for every card skipped", input,
            outcome.notes.join(u'\n'));
    Require(outcome.notes.size() - skips <= contacts.size(), "at most one note for each contact",
            input, outcome.notes.join(u'\n'));
    const QStringList lines = UnfoldedLines(file);
    const qsizetype cards = std::count_if(lines.cbegin(), lines.cend(), BeginsACard);
    Require(contacts.size() + outcome.skipped == cards, "a contact or a skip for every card", input,
            QStringLiteral("%1 cards, %2 contacts, %3 skipped")
                .arg(cards)
                .arg(contacts.size())
                .arg(outcome.skipped));
    const bool fileHasReplacement = file.contains("\xEF\xBF\xBD");
    for (const Contact& contact : contacts) {
        Require(contact != Contact{}, "a contact has a field", input);
        for (const QString& field : Fields(contact)) {
            Require(fileHasReplacement || !field.contains(QChar::ReplacementCharacter),
                    "no text is lost to a replacement character", input, Describe(contact));
        }
    }
}

// Folded lines of at most 75 octets, each whole UTF-8, CRLF after each.
void CheckWrittenLines(const QByteArray& written, const QString& input) {
    Require(written.isEmpty() || written.endsWith("\r\n"), "the file ends with a line end", input);
    QList<QByteArray> lines = written.split('\n');
    lines.removeLast();
    for (const QByteArray& line : lines) {
        Require(line.endsWith('\r') && line.size() <= 76, "a written line is 75 octets at most",
                input, QString::fromUtf8(line));
        Require(QString::fromUtf8(line).toUtf8() == line, "a fold keeps characters whole", input,
                QString::fromUtf8(line));
    }
}

void CheckRoundTrip(const QVector<Contact>& contacts, const QString& input) {
    const QByteArray written = interchange::WriteVCards(contacts);
    CheckWrittenLines(written, input);
    RequireReadsBack(contacts, written, interchange::ReadVCards, Describe, input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString input = FuzzText(data, size);
    interchange::Outcome outcome;
    QVector<Contact> contacts;
    try {
        contacts = interchange::ReadVCards(bytes, outcome);
    } catch (const interchange::InterchangeError& error) {
        Require(NamesALineOf(error.message(), bytes), "a refusal names a line of the file", input,
                error.message());
        return 0;
    } catch (...) {
        Require(false, "a file is refused only with InterchangeError", input);
    }
    CheckContacts(bytes, contacts, outcome, input);
    CheckRoundTrip(contacts, input);
    return 0;
}
