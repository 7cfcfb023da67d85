#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include "widgets/DataSource.h"

namespace widgets {

// The rows of a bound set as a table model, one model column per grid
// column. The set announces its changes after making them, so the model
// keeps its own copy of the shown texts and moves it in step with proper
// begin/end notifications; views never see rows that the model has not
// announced.
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
    QStringList readRow(int row) const;
    void reload();
    void insertRowAt(int row);
    void removeRowAt(int row);
    void updateRowAt(int row);

    QPointer<DataSource> source_;
    QList<QMetaObject::Connection> connections_;
    QVector<Column> columns_;
    QVector<QStringList> rows_;
};

}  // namespace widgets
