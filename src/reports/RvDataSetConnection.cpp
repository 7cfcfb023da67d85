#include "reports/RvDataSetConnection.h"

namespace reports {

RvDataSetConnection::RvDataSetConnection(QObject* parent) : QObject(parent) {}

bool RvDataSetConnection::hasField(const QString& field) const {
    return isReady() && dataSet_->fieldIndex(field) >= 0;
}

QVector<QStringList> RvDataSetConnection::rows(const QStringList& fields) const {
    QVector<int> columns;
    columns.reserve(fields.size());
    for (const QString& field : fields) {
        columns.append(dataSet_->fieldIndex(field));
    }
    QVector<QStringList> result;
    result.reserve(dataSet_->recordCount());
    for (int row = 0; row < dataSet_->recordCount(); ++row) {
        QStringList values;
        values.reserve(columns.size());
        for (const int column : columns) {
            const QVariant value = dataSet_->valueAt(row, column);
            values.append(value.isNull() ? QString() : value.toString());
        }
        result.append(values);
    }
    return result;
}

}  // namespace reports
