#include "store/RowSorter.h"

#include <QCollator>
#include <QStringList>
#include <algorithm>
#include <numeric>
#include <vector>

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

// A value read out of its variant once, so that sorting many rows does not
// unpack the same variants again at every comparison.
struct SortValue {
    QString text;  // a number's text too, for comparing it with text
    double number = 0;
    qint64 isoDay = -1;  // YYYY-MM-DD text as the number YYYYMMDD, else -1
    bool isNull = false;
    bool isNumber = false;
};

// Two ISO dates compare as their numbers YYYYMMDD exactly as they compare as
// text, only faster.
qint64 IsoDayNumber(const QString& text) {
    if (text.size() != 10 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-')) {
        return -1;
    }
    qint64 day = 0;
    for (const int at : {0, 1, 2, 3, 5, 6, 8, 9}) {
        const char16_t digit = text.at(at).unicode();
        if (digit < u'0' || digit > u'9') {
            return -1;
        }
        day = day * 10 + (digit - u'0');
    }
    return day;
}

SortValue ReadSortValue(const QVariant& v) {
    SortValue value;
    value.isNull = v.isNull();
    if (!value.isNull) {
        value.isNumber = IsNumber(v);
        value.number = value.isNumber ? v.toDouble() : 0;
        value.text = v.toString();
        value.isoDay = value.isNumber ? -1 : IsoDayNumber(value.text);
    }
    return value;
}

int CompareSortValues(const SortValue& a, const SortValue& b, bool collated) {
    if (a.isNull || b.isNull) {
        return a.isNull && b.isNull ? 0 : (a.isNull ? -1 : 1);
    }
    if (a.isNumber && b.isNumber) {
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    }
    if (collated) {
        return GreekCollator().compare(a.text, b.text);
    }
    if (a.isoDay >= 0 && b.isoDay >= 0) {
        return a.isoDay < b.isoDay ? -1 : (a.isoDay > b.isoDay ? 1 : 0);
    }
    return QString::compare(a.text, b.text);
}

}  // namespace

int CompareValues(const QVariant& a, const QVariant& b) {
    return CompareSortValues(ReadSortValue(a), ReadSortValue(b), true);
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
        keys_.append({column, descending, fields.at(column).kind != FieldInfo::Kind::Date});
    }
}

void RowSorter::sort(QVector<Row>& rows) const {
    if (keys_.isEmpty()) {
        return;
    }
    const int count = int(rows.size());
    QVector<QVector<SortValue>> values(keys_.size());
    for (int k = 0; k < keys_.size(); ++k) {
        values[k].reserve(count);
        for (const Row& row : rows) {
            values[k].append(ReadSortValue(row.values.at(keys_.at(k).column)));
        }
    }
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this, &values](int a, int b) {
        for (int k = 0; k < keys_.size(); ++k) {
            const int compared =
                CompareSortValues(values.at(k).at(a), values.at(k).at(b), keys_.at(k).collated);
            if (compared != 0) {
                return keys_.at(k).descending ? compared > 0 : compared < 0;
            }
        }
        return false;
    });
    QVector<Row> sorted;
    sorted.reserve(count);
    for (const int row : order) {
        sorted.append(std::move(rows[row]));
    }
    rows = std::move(sorted);
}

}  // namespace store
