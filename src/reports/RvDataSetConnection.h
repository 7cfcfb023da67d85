#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include "store/DataSet.h"

namespace reports {

// Offers the rows of an open data set to a report under the set's column
// names, in the set's order. Its name is its objectName
// ("RvDataSetConnection3"), by which a report's bands find it.
class RvDataSetConnection : public QObject {
    Q_OBJECT

public:
    explicit RvDataSetConnection(QObject* parent = nullptr);

    void setDataSet(store::DataSet* dataSet) { dataSet_ = dataSet; }
    store::DataSet* dataSet() const { return dataSet_; }
    QString name() const { return objectName(); }

    bool isReady() const { return dataSet_ != nullptr && dataSet_->isActive(); }
    bool hasField(const QString& field) const;
    // Every row, each holding the given fields' texts in the given order (NULL
    // reads as empty text). The fields must exist.
    QVector<QStringList> rows(const QStringList& fields) const;

private:
    QPointer<store::DataSet> dataSet_;
};

}  // namespace reports
