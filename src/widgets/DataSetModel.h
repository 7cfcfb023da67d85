#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>

#include "widgets/DataSource.h"

namespace widgets {

// The rows of a bound set as a table model, one model column per grid
// column. A cell's text is made only when a view asks for it, so opening a
// large table costs no more than the rows on screen. The set announces its
// changes after making them, so the model keeps its own row count and,
// while it announces an inserted or removed row, still shows the rows as
// they were; views never see rows that the model has not announced.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Column {
        QString field;
        QString title;
        Qt::Alignment alignment;
    };

    explicit DataSetModel(QObject* parent = nullptr);

    void setDataSource(DataSource* source);
    void addColumn(const Column& column);
    const Column& column(int index) const { return columns_.at(index); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QString cellText(int row, int column) const;
    int setRowOf(int row) const;
    int fieldOf(const Column& column) const;
    void reload();
    void insertRowAt(int row);
    void removeRowAt(int row);
    void updateRowAt(int row);

    QPointer<DataSource> source_;
    QList<QMetaObject::Connection> connections_;
    QVector<Column> columns_;
    QVector<int> fields_;  // the set's field of each column, -1 when it has none
    int rows_ = 0;
    // While a change is announced: the set's row where it happened and how
    // the rows from there on stand to the model's (+1 inserted, -1 removed).
    int changedRow_ = -1;
    int shift_ = 0;
};

}  // namespace widgets
