#include "store/RowCursor.h"

#include <algorithm>

namespace store {

void RowCursor::reset(QVector<Row> rows) {
    rows_ = std::move(rows);
    current_ = rows_.isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void RowCursor::clear() {
    rows_.clear();
    current_ = -1;
    bof_ = eof_ = true;
}

bool RowCursor::setCurrent(int row) {
    const bool changed = row != current_;
    current_ = row;
    return changed;
}

bool RowCursor::first() {
    const bool changed = setCurrent(rows_.isEmpty() ? -1 : 0);
    bof_ = true;
    eof_ = rows_.isEmpty();
    return changed;
}

bool RowCursor::last() {
    const bool changed = setCurrent(count() - 1);
    eof_ = true;
    bof_ = rows_.isEmpty();
    return changed;
}

bool RowCursor::next() {
    if (current_ + 1 >= count()) {
        eof_ = true;
        return false;
    }
    bof_ = eof_ = false;
    return setCurrent(current_ + 1);
}

bool RowCursor::prior() {
    if (current_ <= 0) {
        bof_ = true;
        return false;
    }
    bof_ = eof_ = false;
    return setCurrent(current_ - 1);
}

bool RowCursor::moveTo(int row) {
    if (row < 0 || row >= count()) {
        return false;
    }
    bof_ = eof_ = false;
    return setCurrent(row);
}

int RowCursor::insertBlank(int width) {
    const int at = current_ < 0 ? 0 : current_;
    Row row;
    row.values.resize(width);
    rows_.insert(at, row);
    current_ = at;
    bof_ = eof_ = false;
    return at;
}

void RowCursor::remove(int row) {
    rows_.removeAt(row);
    current_ = rows_.isEmpty() ? -1 : std::min(row, count() - 1);
    bof_ = current_ <= 0;
    eof_ = rows_.isEmpty();
}

}  // namespace store
