#include "store/RowSorter.h"

#include <QCollator>
#include <QStringList>
#include <algorithm>

#include "store/DatabaseError.h"
#include "store/FieldCatalog.h"

namespace store {
namespace {

const QCollator& GreekCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Greek, QLocale::Greece));
        c.setNumericMode(true);
        return c;
    }();
    return collator;
}

bool IsNumber(const QVariant& v) {
    const int type = v.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Double || type == QMetaType::Int;
}

}  // namespace

int CompareValues(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull()) {
        return a.isNull() && b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    }
    if (IsNumber(a) && IsNumber(b)) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return GreekCollator().compare(a.toString(), b.toString());
}

RowSorter::RowSorter(const QString& sort, const FieldCatalog& fields) {
    const QStringList parts = sort.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QStringList words = part.simplified().split(QLatin1Char(' '));
        bool descending = false;
        if (words.size() > 1) {
            const QString direction = words.takeLast().toUpper();
            if (direction != QLatin1String("ASC") && direction != QLatin1String("DESC")) {
                throw DatabaseError(QStringLiteral("Invalid sort order '%1'.").arg(part));
            }
            descending = direction == QLatin1String("DESC");
        }
        QString name = words.join(QLatin1Char(' '));
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']'))) {
            name = name.mid(1, name.size() - 2);
        }
        const int column = fields.indexOf(name);
        if (column < 0) {
            throw DatabaseError(QStringLiteral("Item cannot be found in the collection "
                                               "corresponding to the requested name: '%1'.")
                                    .arg(name));
        }
        keys_.append({column, descending});
    }
}

void RowSorter::sort(QVector<Row>& rows) const {
    if (keys_.isEmpty()) {
        return;
    }
    std::stable_sort(rows.begin(), rows.end(), [this](const Row& a, const Row& b) {
        for (const Key& key : keys_) {
            const int order = CompareValues(a.values.at(key.column), b.values.at(key.column));
            if (order != 0) {
                return key.descending ? order > 0 : order < 0;
            }
        }
        return false;
    });
}

}  // namespace store
