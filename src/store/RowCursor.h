#pragma once

#include <QVariant>
#include <QVector>

namespace store {

// One row held on the client; rowid 0 marks a row not stored yet.
struct Row {
    qint64 rowid = 0;
    QVector<QVariant> values;
};

// The rows of an open data set and the position in them. Every move
// returns whether the current row changed, so that the set can say so.
class RowCursor {
public:
    // The first row becomes current.
    void reset(QVector<Row> rows);
    void clear();

    int count() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.isEmpty(); }
    // -1 on an empty set.
    int current() const { return current_; }
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    const Row& row(int row) const { return rows_.at(row); }
    Row& currentRow() { return rows_[current_]; }
    QVector<Row>& rows() { return rows_; }

    bool first();
    bool last();
    bool next();
    bool prior();
    // A row outside the set leaves the position as it is.
    bool moveTo(int row);
    // Makes row current without touching bof/eof (after a reorder).
    void place(int row) { current_ = row; }

    // A blank row of the given width at the current position becomes current.
    int insertBlank(int width);
    // The row that followed takes the place of the removed one, or the last.
    void remove(int row);

private:
    bool setCurrent(int row);

    QVector<Row> rows_;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
};

}  // namespace store
