#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

#include "store/RowCursor.h"

namespace store {

class FieldCatalog;

// Orders rows on the client, so that Greek text sorts as a reader expects:
// letters before accents and letter case, numbers in a text by value.
class RowSorter {
public:
    // "COLUMN ASC" or "COLUMN DESC", several joined by commas; a name may be
    // bracketed. Throws DatabaseError for an unknown field or direction.
    RowSorter(const QString& sort, const FieldCatalog& fields);

    // Keeps the order of rows that compare equal.
    void sort(QVector<Row>& rows) const;

private:
    struct Key {
        int column;
        bool descending;
        // Dates are ISO text, in date order as they stand: comparing them
        // plainly is right and spares the collator on large tables.
        bool collated;
    };
    QVector<Key> keys_;
};

// Negative, zero or positive as a sorts before, with or after b; NULL first.
int CompareValues(const QVariant& a, const QVariant& b);

}  // namespace store
