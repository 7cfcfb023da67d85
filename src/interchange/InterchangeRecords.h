#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>
#include <stdexcept>

// The rows of the organizer's tables as the exchange formats see them,
// independent of the database: the writers turn them into a file's text,
// the readers turn a file's text back into them.
namespace interchange {

// One day of the day task table: the text of each of the 28 half-hour
// slots, empty where the slot is free.
struct DayTasks {
    QDate date;
    QStringList slotTexts;

    bool operator==(const DayTasks&) const = default;
};

struct DayNote {
    QDate date;
    QString text;

    bool operator==(const DayNote&) const = default;
};

struct Contact {
    QString name;
    QString address;
    QString phone1;
    QString phone2;
    QString fax;
    QString email;
    QString description;

    bool operator==(const Contact&) const = default;
};

// Amounts in whole cents; an empty column stays empty (no date, no amount).
struct Expense {
    QDate date;
    std::optional<qint64> amount;
    std::optional<qint64> vat;
    QString description;

    bool operator==(const Expense&) const = default;
};

// The days an export covers; a null end leaves that side open.
struct DateRange {
    QDate from;
    QDate to;

    bool contains(const QDate& date) const;
};

// What one export or import did: how many items it wrote, how many it left
// out, and one line for every item left out or changed, saying why.
struct Outcome {
    int written = 0;
    int skipped = 0;
    QStringList notes;

    void skip(const QString& why);
};

// Called now and then during long work with the items done so far and the
// total, so that a caller can show progress.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Calls progress, if any, every so many items and at the end.
void ReportProgress(const Progress& progress, qint64 done, qint64 total);

// A file that cannot be read or written, or a file whose content is not
// what its format requires; the text says where and why.
class InterchangeError : public std::runtime_error {
public:
    explicit InterchangeError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The start of a text that a message quotes: a text longer than a column
// would fill the message.
QString Excerpt(const QString& text);

// "line 12: ..." for the readers' messages.
[[noreturn]] void ThrowAtLine(int line, const QString& problem);

inline const QByteArray kUtf8ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

// The file without the UTF-8 byte-order mark some programs put before the
// text; the formats themselves know none.
QByteArray WithoutByteOrderMark(const QByteArray& file);

// The text of bytes that must be UTF-8; throws naming the line when they
// are not (a file saved in a Greek code page, for one).
QString DecodeUtf8Line(const QByteArray& bytes, int line);

}  // namespace interchange
