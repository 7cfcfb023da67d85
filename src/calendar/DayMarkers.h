#pragma once

#include <QVector>

namespace store {
class Connection;
}

// The number of filled slots of every day of a month, index 0 for day 1:
// -1 for a day without its row, else the count of slot columns holding
// more than blanks and control characters. One query over the month.
QVector<int> FilledSlotCounts(store::Connection& connection, int year, int month, int days);
