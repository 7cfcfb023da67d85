#pragma once

#include <QString>

class QWidget;

namespace store {
class Command;
class Connection;
}  // namespace store

namespace daywindow {

// What a day window needs to make sure of its row: the insert that makes it
// (already set up on command, whose connection is open) and the count of
// the day's rows in its table.
struct DayRowRequest {
    store::Command* insert;
    store::Connection* connection;
    QString countSql;
    QString isoDate;
    // The first line of the message when the row cannot be written,
    // naming the day ("Η ημέρα 5/3/2008 δεν μπορεί να γραφτεί.").
    QString headline;
};

// Makes sure the day's row exists; true when the window may open on it. A
// row there already is no failure. When the row cannot be written (a
// read-only, locked, full or damaged file), the user is told so over parent
// before the window opens, naming the file and why, so that nothing is
// typed into a row that cannot be stored: a day whose row exists still
// opens to be read, one without a row does not open.
bool EnsureDayRow(QWidget* parent, const DayRowRequest& request);

}  // namespace daywindow
