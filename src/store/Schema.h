#pragma once

#include <QStringList>

namespace store {

// The names of the 28 half-hour slot columns of RANTEBOU, 08:00 to 22:00.
const QStringList& SlotColumns();

// Declared length of every one-line text column: also the typing limit of
// the fields bound to it.
inline constexpr int kShortTextLength = 255;

// The statements that build the six empty tables of data.mdb. Only the tool
// that writes the shipped file runs them; the program never creates a table.
QStringList SchemaStatements();

// Writes a new encrypted database with the six empty tables at path.
// Throws DatabaseError when the file exists already or cannot be written.
void CreateEmptyDatabase(const QString& path);

}  // namespace store
