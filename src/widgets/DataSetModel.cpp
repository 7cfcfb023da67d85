#include "widgets/DataSetModel.h"

#include "widgets/FieldText.h"

namespace widgets {

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DataSetModel::setDataSource(DataSource* source) {
    for (const QMetaObject::Connection& connection : connections_) {
        disconnect(connection);
    }
    connections_.clear();
    source_ = source;
    if (source_ != nullptr) {
        connections_ = {
            connect(source_, &DataSource::dataSetChanged, this, &DataSetModel::reload),
            connect(source_, &DataSource::rowsReset, this, &DataSetModel::reload),
            connect(source_, &DataSource::rowInserted, this, &DataSetModel::insertRowAt),
            connect(source_, &DataSource::rowRemoved, this, &DataSetModel::removeRowAt),
            connect(source_, &DataSource::rowChanged, this, &DataSetModel::updateRowAt),
        };
    }
    reload();
}

void DataSetModel::addColumn(const Column& column) {
    const int at = int(columns_.size());
    beginInsertColumns(QModelIndex(), at, at);
    columns_.append(column);
    for (int row = 0; row < rows_.size(); ++row) {
        rows_[row] = readRow(row);
    }
    endInsertColumns();
}

QStringList DataSetModel::readRow(int row) const {
    QStringList texts;
    const store::DataSet* set = source_ != nullptr ? source_->dataSet() : nullptr;
    for (const Column& column : columns_) {
        const int field = set != nullptr && set->isActive() ? set->fieldIndex(column.field) : -1;
        texts.append(field < 0 ? QString()
                               : FieldDisplayText(set->fieldInfo(field), set->valueAt(row, field)));
    }
    return texts;
}

void DataSetModel::reload() {
    beginResetModel();
    rows_.clear();
    const store::DataSet* set = source_ != nullptr ? source_->dataSet() : nullptr;
    const int count = set != nullptr && set->isActive() ? set->recordCount() : 0;
    rows_.reserve(count);
    for (int row = 0; row < count; ++row) {
        rows_.append(readRow(row));
    }
    endResetModel();
}

void DataSetModel::insertRowAt(int row) {
    beginInsertRows(QModelIndex(), row, row);
    rows_.insert(row, readRow(row));
    endInsertRows();
}

void DataSetModel::removeRowAt(int row) {
    if (row < 0 || row >= rows_.size()) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    rows_.removeAt(row);
    endRemoveRows();
}

void DataSetModel::updateRowAt(int row) {
    if (row < 0 || row >= rows_.size() || columns_.isEmpty()) {
        return;
    }
    rows_[row] = readRow(row);
    Q_EMIT dataChanged(index(row, 0), index(row, int(columns_.size()) - 1), {Qt::DisplayRole});
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return rows_.at(index.row()).at(index.column());
        case Qt::TextAlignmentRole:
            return int(columns_.at(index.column()).alignment | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        // The row indicator draws itself; rows carry no numbers.
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    }
    if (section < 0 || section >= columns_.size()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return columns_.at(section).title;
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        default:
            return {};
    }
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace widgets
