#include "interchange/ContactsVCard.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUuid>
#include <algorithm>

#include "store/Schema.h"

namespace interchange {
namespace {

constexpr int kFoldOctets = 75;
constexpr int kUnsetPreference = 100;
// The namespace of the contacts' name-based UUIDs; any fixed value serves.
const QUuid kContactUidNamespace(QStringLiteral("{6f1d8c52-3c7e-4b0a-9a43-2b8e1f5d7c10}"));

// Escapes a text value: backslash, comma, semicolon and line breaks.
QString EscapeVCardText(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            escaped += QLatin1Char('\\');
            escaped += c;
        } else if (c == QLatin1Char('\r')) {
            const bool crlf = i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n');
            escaped += QStringLiteral("\\n");
            i += crlf ? 1 : 0;
        } else if (c == QLatin1Char('\n')) {
            escaped += QStringLiteral("\\n");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

// Splits a value at the separators that are not escaped; the parts keep
// their escapes.
QStringList SplitUnescaped(const QString& value, QChar separator) {
    QStringList parts{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            parts.last() += c;
            parts.last() += value.at(++i);
        } else if (c == separator) {
            parts.append(QString());
        } else {
            parts.last() += c;
        }
    }
    return parts;
}

// A bare CR inside a value is a line break, as the writer writes one: kept
// as CR it would come back from the next export as a newline.
QString UnescapeVCardText(const QString& value) {
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar next = value.at(++i);
        text += (next == QLatin1Char('n') || next == QLatin1Char('N')) ? QChar(QLatin1Char('\n'))
                                                                       : next;
    }
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QByteArray ContentLine(const QString& nameAndParameters, const QString& value) {
    return FoldContentLine((nameAndParameters + QLatin1Char(':') + value).toUtf8());
}

// How a value is written in the file: as text, as quoted-printable (vCard
// 2.1, for any text that is not ASCII) or as base64 (a photo, a key:
// nothing a contact here holds).
enum class ValueEncoding { Text, QuotedPrintable, Base64 };

// A property as the reader sees it: name upper case, parameter names upper
// case, each parameter's values split at commas, the value decoded.
struct VCardProperty {
    int line = 0;
    QString name;
    QHash<QString, QStringList> parameters;
    ValueEncoding encoding = ValueEncoding::Text;
    QString value;

    bool hasType(const QString& type) const {
        const QStringList types = parameters.value(QStringLiteral("TYPE"));
        return std::any_of(types.cbegin(), types.cend(), [&type](const QString& t) {
            return t.compare(type, Qt::CaseInsensitive) == 0;
        });
    }
    int preference() const {
        if (hasType(QStringLiteral("pref"))) {
            return 1;
        }
        bool ok = false;
        const int pref = parameters.value(QStringLiteral("PREF")).value(0).toInt(&ok);
        return ok ? pref : kUnsetPreference;
    }
};

// A content line whole, with the encoding its parameters name: read from
// its first line, as writers fold values, not parameters.
struct LogicalLine {
    int line = 0;
    QByteArray bytes;
    ValueEncoding encoding = ValueEncoding::Text;
};

// Where the value starts: the first colon outside a quoted parameter
// value, or -1. The octets serve, as the colon and the quote are ASCII.
qsizetype ValueStart(const QByteArray& bytes) {
    bool quoted = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '"') {
            quoted = !quoted;
        } else if (bytes.at(i) == ':' && !quoted) {
            return i;
        }
    }
    return -1;
}

QStringList SplitOutsideQuotes(const QString& text, QChar separator) {
    QStringList parts{QString()};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            parts.append(QString());
        } else {
            parts.last() += c;
        }
    }
    return parts;
}

// The parameters after the property name. vCard 2.1 writes types and the
// encoding bare: TEL;CELL;PREF:... and NOTE;QUOTED-PRINTABLE:...
QHash<QString, QStringList> ParseParameters(const QStringList& written) {
    static const QStringList bareEncodings{QStringLiteral("QUOTED-PRINTABLE"),
                                           QStringLiteral("BASE64"), QStringLiteral("8BIT"),
                                           QStringLiteral("7BIT")};
    QHash<QString, QStringList> parameters;
    for (const QString& parameter : written) {
        const qsizetype equals = parameter.indexOf(QLatin1Char('='));
        QString key = parameter.left(equals).toUpper();
        if (equals < 0) {
            key = bareEncodings.contains(key) ? QStringLiteral("ENCODING") : QStringLiteral("TYPE");
        }
        const QString values = equals < 0 ? parameter : parameter.mid(equals + 1);
        // TYPE="work,voice" and TYPE=work,voice name the same two types.
        parameters[key] += QString(values).remove(QLatin1Char('"')).split(QLatin1Char(','));
    }
    return parameters;
}

// No value for an encoding that is not known.
std::optional<ValueEncoding> EncodingOf(const QHash<QString, QStringList>& parameters) {
    const QString encoding = parameters.value(QStringLiteral("ENCODING")).value(0).toUpper();
    if (encoding.isEmpty() || encoding == QLatin1String("8BIT") ||
        encoding == QLatin1String("7BIT")) {
        return ValueEncoding::Text;
    }
    if (encoding == QLatin1String("QUOTED-PRINTABLE")) {
        return ValueEncoding::QuotedPrintable;
    }
    if (encoding == QLatin1String("BASE64") || encoding == QLatin1String("B")) {
        return ValueEncoding::Base64;
    }
    return std::nullopt;
}

// The encoding a line's parameters name, read before the line is whole:
// quoted-printable and base64 values run over lines in ways of their own.
// A line without a value yet is taken as text.
ValueEncoding LineEncoding(const QByteArray& bytes) {
    const qsizetype colon = ValueStart(bytes);
    if (colon < 0) {
        return ValueEncoding::Text;
    }
    QStringList head = SplitOutsideQuotes(QString::fromUtf8(bytes.left(colon)), QLatin1Char(';'));
    head.removeFirst();
    return EncodingOf(ParseParameters(head)).value_or(ValueEncoding::Text);
}

bool IsBase64Run(const QByteArray& bytes) {
    static const QRegularExpression base64(QStringLiteral("^[A-Za-z0-9+/=\\s]+$"));
    return base64.match(QString::fromLatin1(bytes)).hasMatch();
}

// A quoted-printable line that ends in '=' goes on in the next line (a
// soft line break); the '=' goes, and so do blanks at the line's end, which
// the encoding does not count.
bool TakeSoftBreak(LogicalLine& line) {
    if (line.encoding != ValueEncoding::QuotedPrintable) {
        return false;
    }
    while (line.bytes.endsWith(' ') || line.bytes.endsWith('\t')) {
        line.bytes.chop(1);
    }
    if (!line.bytes.endsWith('=')) {
        return false;
    }
    line.bytes.chop(1);
    return true;
}

// Joins folded lines (a line starting with a space or a tab continues the
// one before) before decoding, so that a fold inside a character is healed;
// likewise the soft line breaks of quoted-printable, and the lines of a
// base64 value that some vCard 2.1 writers do not indent.
QVector<LogicalLine> UnfoldLines(const QByteArray& file) {
    QList<QByteArray> physical = file.split('\n');
    for (QByteArray& bytes : physical) {
        if (bytes.endsWith('\r')) {
            bytes.chop(1);
        }
    }
    while (!physical.isEmpty() && physical.last().trimmed().isEmpty()) {
        physical.removeLast();
    }
    QVector<LogicalLine> lines;
    bool softBreak = false;
    for (int i = 0; i < physical.size(); ++i) {
        const QByteArray& bytes = physical.at(i);
        if (softBreak) {
            lines.last().bytes += bytes;
        } else if ((bytes.startsWith(' ') || bytes.startsWith('\t')) && !lines.isEmpty()) {
            lines.last().bytes += bytes.mid(1);
        } else if (!lines.isEmpty() && lines.last().encoding == ValueEncoding::Base64 &&
                   IsBase64Run(bytes)) {
            lines.last().bytes += bytes;
        } else {
            lines.append({i + 1, bytes, LineEncoding(bytes)});
        }
        softBreak = TakeSoftBreak(lines.last());
    }
    if (softBreak) {
        ThrowAtLine(lines.last().line,
                    QStringLiteral("the quoted-printable value that begins here ends in a soft "
                                   "line break ('='): the file is cut short"));
    }
    return lines;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char upper = char(c & ~0x20);
    return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

// The octets of a quoted-printable value (RFC 2045), its soft line breaks
// already taken out.
QByteArray DecodeQuotedPrintable(const QByteArray& value, int line) {
    QByteArray octets;
    octets.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != '=') {
            octets += value.at(i);
            continue;
        }
        const int high = i + 1 < value.size() ? HexDigit(value.at(i + 1)) : -1;
        const int low = i + 2 < value.size() ? HexDigit(value.at(i + 2)) : -1;
        if (high < 0 || low < 0) {
            ThrowAtLine(line, QStringLiteral("'%1' is not a quoted-printable escape (= and two "
                                             "hexadecimal digits)")
                                  .arg(QString::fromLatin1(value.mid(i, 3))));
        }
        octets += char(high * 16 + low);
        i += 2;
    }
    return octets;
}

// The text of a value's octets in the character set its CHARSET names
// (vCard 2.1), UTF-8 where it names none.
QString DecodeCharset(const QByteArray& octets, const VCardProperty& property) {
    const QString charset = property.parameters.value(QStringLiteral("CHARSET")).value(0);
    if (charset.isEmpty()) {
        return DecodeUtf8Line(octets, property.line);
    }
    QStringDecoder decoder(charset.toLatin1().constData());
    if (!decoder.isValid()) {
        ThrowAtLine(property.line,
                    QStringLiteral("the character set '%1' is not known").arg(charset));
    }
    QString text = decoder.decode(octets);
    if (decoder.hasError()) {
        ThrowAtLine(property.line,
                    QStringLiteral("the text is not in %1, the character set its CHARSET names")
                        .arg(charset));
    }
    return text;
}

// The value as text. A base64 value is binary: it stays as written, never
// taken into a contact.
QString DecodeValue(const QByteArray& value, const VCardProperty& property) {
    switch (property.encoding) {
        case ValueEncoding::Base64:
            return QString::fromLatin1(value);
        case ValueEncoding::QuotedPrintable: {
            // Line breaks come encoded as =0D=0A; a field keeps them as \n.
            QString text = DecodeCharset(DecodeQuotedPrintable(value, property.line), property);
            return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        }
        case ValueEncoding::Text:
            break;
    }
    return DecodeCharset(value, property);
}

VCardProperty ParseVCardLine(const LogicalLine& line) {
    static const QRegularExpression propertyName(
        QStringLiteral("^(?:[A-Za-z0-9-]+\\.)?([A-Za-z0-9-]+)$"));
    const qsizetype colon = ValueStart(line.bytes);
    if (colon < 0) {
        ThrowAtLine(line.line, QStringLiteral("'%1' is not a vCard property (no colon)")
                                   .arg(DecodeUtf8Line(line.bytes, line.line).left(40)));
    }
    const QString headText = DecodeUtf8Line(line.bytes.left(colon), line.line);
    QStringList head = SplitOutsideQuotes(headText, QLatin1Char(';'));
    head.removeFirst();
    // The name as written: the split above drops quotes, which no name holds.
    const QRegularExpressionMatch name =
        propertyName.match(headText.section(QLatin1Char(';'), 0, 0));
    if (!name.hasMatch()) {
        ThrowAtLine(line.line, QStringLiteral("'%1' is not a property name").arg(headText));
    }
    VCardProperty property{line.line, name.captured(1).toUpper(), ParseParameters(head), {}, {}};
    const std::optional<ValueEncoding> encoding = EncodingOf(property.parameters);
    if (!encoding) {
        ThrowAtLine(
            line.line,
            QStringLiteral("the encoding '%1' is not known")
                .arg(property.parameters.value(QStringLiteral("ENCODING")).join(QLatin1Char(','))));
    }
    property.encoding = *encoding;
    property.value = DecodeValue(line.bytes.mid(colon + 1), property);
    return property;
}

// The postal address as one line: the parts that are filled, in the order
// post office box, extended, street, locality, region, code, country. A
// single part (as written here) is kept exactly; several are trimmed.
QString AddressText(const QString& value) {
    QStringList parts;
    for (const QString& component : SplitUnescaped(value, QLatin1Char(';'))) {
        QStringList items;
        for (const QString& item : SplitUnescaped(component, QLatin1Char(','))) {
            items.append(UnescapeVCardText(item));
        }
        const QString text = items.join(QStringLiteral(", "));
        if (!text.trimmed().isEmpty()) {
            parts.append(text);
        }
    }
    if (parts.size() > 1) {
        for (QString& part : parts) {
            part = part.trimmed();
        }
    }
    return parts.join(QStringLiteral(", "));
}

// A number given as a URI (VALUE=uri) loses its "tel:"; a text value is the
// number as typed, so that a number written here that starts with "tel:"
// reads back whole.
QString TelephoneText(const VCardProperty& property) {
    const QString text = UnescapeVCardText(property.value);
    const bool uri = property.parameters.value(QStringLiteral("VALUE"))
                         .contains(QLatin1String("uri"), Qt::CaseInsensitive);
    return uri && text.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive) ? text.mid(4) : text;
}

QString NameFromStructured(const QString& value) {
    const QStringList parts = SplitUnescaped(value, QLatin1Char(';'));
    QStringList names;
    for (int index : {3, 1, 2, 0, 4}) {
        const QString part = UnescapeVCardText(parts.value(index)).trimmed();
        if (!part.isEmpty()) {
            names.append(part);
        }
    }
    return names.join(QLatin1Char(' '));
}

// Properties that carry nothing a contact here could lose.
bool IsBookkeeping(const QString& name) {
    static const QStringList names{QStringLiteral("VERSION"),    QStringLiteral("PRODID"),
                                   QStringLiteral("REV"),        QStringLiteral("UID"),
                                   QStringLiteral("N"),          QStringLiteral("KIND"),
                                   QStringLiteral("SOURCE"),     QStringLiteral("CLIENTPIDMAP"),
                                   QStringLiteral("LABEL"),      QStringLiteral("NAME"),
                                   QStringLiteral("SORT-STRING")};
    return names.contains(name) || name.startsWith(QLatin1String("X-"));
}

// The fields of a contact longer than their columns, each as "the address
// has 300 characters": such a text would be cut the next time the contact
// is edited.
QStringList OverlongFields(const Contact& contact) {
    const QVector<QPair<const char*, const QString*>> fields{{"name", &contact.name},
                                                             {"address", &contact.address},
                                                             {"telephone 1", &contact.phone1},
                                                             {"telephone 2", &contact.phone2},
                                                             {"fax", &contact.fax},
                                                             {"e-mail", &contact.email},
                                                             {"description", &contact.description}};
    QStringList overlong;
    for (const auto& [label, text] : fields) {
        if (text->size() > store::kShortTextLength) {
            overlong.append(QStringLiteral("the %1 has %2 characters")
                                .arg(QLatin1String(label))
                                .arg(text->size()));
        }
    }
    return overlong;
}

// Turns the properties of one card into a contact.
class CardReader {
public:
    CardReader(int beginLine, Outcome& outcome) : beginLine_(beginLine), outcome_(outcome) {}

    void take(const VCardProperty& property) {
        const QString& name = property.name;
        if (property.encoding == ValueEncoding::Base64) {
            if (!IsBookkeeping(name)) {
                leftOut_.append(name);
            }
        } else if (name == QLatin1String("VERSION")) {
            checkVersion(property);
        } else if (name == QLatin1String("FN")) {
            fillOnce(contact_.name, UnescapeVCardText(property.value), property);
        } else if (name == QLatin1String("N")) {
            structuredName_ = NameFromStructured(property.value);
        } else if (name == QLatin1String("ADR")) {
            fillOnce(contact_.address, AddressText(property.value), property);
        } else if (name == QLatin1String("TEL")) {
            telephones_.append(property);
        } else if (name == QLatin1String("EMAIL")) {
            fillOnce(contact_.email, UnescapeVCardText(property.value), property);
        } else if (name == QLatin1String("NOTE")) {
            fillOnce(contact_.description, UnescapeVCardText(property.value), property);
        } else if (!IsBookkeeping(name)) {
            leftOut_.append(name);
        }
    }

    // The contact, or no value for a card without any data.
    std::optional<Contact> finish() {
        if (contact_.name.isEmpty()) {
            contact_.name = structuredName_;
        }
        placeTelephones();
        if (contact_ == Contact{}) {
            outcome_.skip(QStringLiteral("line %1: a vCard without a name or any other field")
                              .arg(beginLine_));
            return std::nullopt;
        }
        const QStringList overlong = OverlongFields(contact_);
        if (!overlong.isEmpty()) {
            outcome_.skip(QStringLiteral("line %1: %2: not imported, %3, more than the %4 a "
                                         "contact's field holds")
                              .arg(beginLine_)
                              .arg(Excerpt(contact_.name), overlong.join(QStringLiteral(", ")))
                              .arg(store::kShortTextLength));
            return std::nullopt;
        }
        leftOut_.removeDuplicates();
        if (!leftOut_.isEmpty()) {
            outcome_.notes.append(QStringLiteral("%1: not imported, no such field here: %2")
                                      .arg(contact_.name, leftOut_.join(QStringLiteral(", "))));
        }
        return contact_;
    }

private:
    void checkVersion(const VCardProperty& property) {
        static const QStringList known{QStringLiteral("2.1"), QStringLiteral("3.0"),
                                       QStringLiteral("4.0")};
        if (!known.contains(property.value.trimmed())) {
            ThrowAtLine(property.line,
                        QStringLiteral("vCard version '%1' is not known").arg(property.value));
        }
    }

    void fillOnce(QString& field, const QString& text, const VCardProperty& property) {
        if (field.isEmpty()) {
            field = text;
        } else if (!text.isEmpty()) {
            leftOut_.append(QStringLiteral("%1 %2").arg(property.name, text));
        }
    }

    // The fax numbers go to the fax, the others by preference to the two
    // telephones; a number that finds no place is listed.
    void placeTelephones() {
        std::stable_sort(telephones_.begin(), telephones_.end(),
                         [](const VCardProperty& a, const VCardProperty& b) {
                             return a.preference() < b.preference();
                         });
        int phones = 0;
        for (const VCardProperty& telephone : telephones_) {
            if (telephone.hasType(QStringLiteral("fax"))) {
                fillOnce(contact_.fax, TelephoneText(telephone), telephone);
            } else if (phones < 2) {
                (phones++ == 0 ? contact_.phone1 : contact_.phone2) = TelephoneText(telephone);
            } else {
                leftOut_.append(QStringLiteral("TEL %1").arg(TelephoneText(telephone)));
            }
        }
    }

    int beginLine_;
    Outcome& outcome_;
    Contact contact_;
    QString structuredName_;
    QVector<VCardProperty> telephones_;
    QStringList leftOut_;
};

bool IsMarker(const VCardProperty& property, const char* name) {
    return property.name == QLatin1String(name) &&
           property.value.trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QString ContactUid(const Contact& contact, int occurrence) {
    const QString seed = occurrence == 0
                             ? contact.name
                             : contact.name + QLatin1Char('\n') + QString::number(occurrence);
    return QStringLiteral("urn:uuid:") +
           QUuid::createUuidV5(kContactUidNamespace, seed).toString(QUuid::WithoutBraces);
}

QByteArray FoldContentLine(const QByteArray& line) {
    QByteArray folded;
    qsizetype start = 0;
    int room = kFoldOctets;
    while (line.size() - start > room) {
        qsizetype cut = start + room;
        // Never between the bytes of one character: back up to its first byte.
        while (cut > start && (uchar(line.at(cut)) & 0xC0) == 0x80) {
            --cut;
        }
        folded += line.mid(start, cut - start) + "\r\n ";
        start = cut;
        room = kFoldOctets - 1;
    }
    return folded + line.mid(start) + "\r\n";
}

QByteArray WriteVCard(const Contact& contact, const QString& uid) {
    QByteArray card = "BEGIN:VCARD\r\nVERSION:4.0\r\n";
    card += ContentLine(QStringLiteral("UID"), uid);
    card += ContentLine(QStringLiteral("FN"), EscapeVCardText(contact.name));
    if (!contact.address.isEmpty()) {
        // A free-text address has no parts: it is all street.
        card += ContentLine(QStringLiteral("ADR"),
                            QStringLiteral(";;%1;;;;").arg(EscapeVCardText(contact.address)));
    }
    // The first telephone is written even when empty if a second follows,
    // so that the second comes back in its own place.
    if (!contact.phone1.isEmpty() || !contact.phone2.isEmpty()) {
        card +=
            ContentLine(QStringLiteral("TEL;TYPE=voice;PREF=1"), EscapeVCardText(contact.phone1));
    }
    if (!contact.phone2.isEmpty()) {
        card +=
            ContentLine(QStringLiteral("TEL;TYPE=voice;PREF=2"), EscapeVCardText(contact.phone2));
    }
    if (!contact.fax.isEmpty()) {
        card += ContentLine(QStringLiteral("TEL;TYPE=fax"), EscapeVCardText(contact.fax));
    }
    if (!contact.email.isEmpty()) {
        card += ContentLine(QStringLiteral("EMAIL"), EscapeVCardText(contact.email));
    }
    if (!contact.description.isEmpty()) {
        card += ContentLine(QStringLiteral("NOTE"), EscapeVCardText(contact.description));
    }
    return card + "END:VCARD\r\n";
}

QByteArray WriteVCards(const QVector<Contact>& contacts) {
    QByteArray file;
    QHash<QString, int> occurrences;
    for (const Contact& contact : contacts) {
        file += WriteVCard(contact, ContactUid(contact, occurrences[contact.name]++));
    }
    return file;
}

QVector<Contact> ReadVCards(const QByteArray& file, Outcome& outcome) {
    QVector<Contact> contacts;
    std::optional<CardReader> card;
    int beginLine = 0;
    for (const LogicalLine& line : UnfoldLines(WithoutByteOrderMark(file))) {
        if (line.bytes.trimmed().isEmpty()) {
            continue;
        }
        const VCardProperty property = ParseVCardLine(line);
        if (IsMarker(property, "BEGIN")) {
            if (card) {
                ThrowAtLine(
                    line.line,
                    QStringLiteral("a vCard begins inside the vCard of line %1").arg(beginLine));
            }
            card.emplace(line.line, outcome);
            beginLine = line.line;
        } else if (!card) {
            ThrowAtLine(line.line, QStringLiteral("'%1' stands outside BEGIN:VCARD ... END:VCARD")
                                       .arg(QString::fromUtf8(line.bytes).left(40)));
        } else if (IsMarker(property, "END")) {
            if (std::optional<Contact> contact = card->finish()) {
                contacts.append(*contact);
            }
            card.reset();
        } else {
            card->take(property);
        }
    }
    if (card) {
        ThrowAtLine(beginLine, QStringLiteral("the vCard that begins here has no END:VCARD"));
    }
    return contacts;
}

}  // namespace interchange
