#pragma once

#include <QString>
#include <optional>

#include "interchange/InterchangeRecords.h"

namespace store {
class Connection;
}

// Exports the organizer's data to the files other programs read and imports
// them back: the day tasks and notes as iCalendar, the contacts as vCard,
// the expenses as CSV.
namespace interchange {

enum class Format { Calendar, Contacts, Expenses };

// "ics", "vcf" or "csv"; no value for any other name.
std::optional<Format> FormatNamed(const QString& name);

// Whether --from/--to mean something for the format (the contacts carry no
// date).
bool FormatHasDates(Format format);

// Writes the file in one piece: a failed export leaves an existing file as
// it was. Throws InterchangeError or store::DatabaseError.
Outcome ExportFile(store::Connection& connection, Format format, const QString& path,
                   const DateRange& range, const Progress& progress = {});

// Reads the whole file first and adds its items in one transaction: a file
// that cannot be read or holds a malformed line adds nothing. Throws
// InterchangeError (the message names the line) or store::DatabaseError.
Outcome ImportFile(store::Connection& connection, Format format, const QString& path,
                   const Progress& progress = {});

}  // namespace interchange
