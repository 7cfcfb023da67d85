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
    fields_.append(fieldOf(column));
    endInsertColumns();
}

int DataSetModel::fieldOf(const Column& column) const {
    const store::DataSet* set = source_ != nullptr ? source_->dataSet() : nullptr;
    return set != nullptr && set->isActive() ? set->fieldIndex(column.field) : -1;
}

int DataSetModel::setRowOf(int row) const {
    if (changedRow_ < 0 || row < changedRow_) {
        return row;
    }
    // The removed row itself is gone from the set.
    return shift_ < 0 && row == changedRow_ ? -1 : row + (shift_ > 0 ? 1 : -1);
}

QString DataSetModel::cellText(int row, int column) const {
    const store::DataSet* set = source_ != nullptr ? source_->dataSet() : nullptr;
    const int field = fields_.at(column);
    if (set == nullptr || row < 0 || !set->isActive() || field < 0 || row >= set->recordCount()) {
        return {};
    }
    return FieldDisplayText(set->fieldInfo(field), set->valueAt(row, field));
}

// The set was opened, closed, sorted or swapped: its fields may have changed
// as well as its rows.
void DataSetModel::reload() {
    beginResetModel();
    const store::DataSet* set = source_ != nullptr ? source_->dataSet() : nullptr;
    rows_ = set != nullptr && set->isActive() ? set->recordCount() : 0;
    for (int column = 0; column < columns_.size(); ++column) {
        fields_[column] = fieldOf(columns_.at(column));
    }
    endResetModel();
}

void DataSetModel::insertRowAt(int row) {
    changedRow_ = row;
    shift_ = 1;
    beginInsertRows(QModelIndex(), row, row);
    changedRow_ = -1;
    ++rows_;
    endInsertRows();
}

void DataSetModel::removeRowAt(int row) {
    if (row < 0 || row >= rows_) {
        return;
    }
    changedRow_ = row;
    shift_ = -1;
    beginRemoveRows(QModelIndex(), row, row);
    changedRow_ = -1;
    --rows_;
    endRemoveRows();
}

void DataSetModel::updateRowAt(int row) {
    if (row < 0 || row >= rows_ || columns_.isEmpty()) {
        return;
    }
    Q_EMIT dataChanged(index(row, 0), index(row, int(columns_.size()) - 1), {Qt::DisplayRole});
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
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
            return cellText(setRowOf(index.row()), index.column());
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
