#include "widgets/DataSource.h"

#include "store/DatabaseError.h"
#include "widgets/Messages.h"

namespace widgets {

DataSource::DataSource(QObject* parent) : QObject(parent) {}

void DataSource::setDataSet(store::DataSet* dataSet) {
    if (dataSet_ == dataSet) {
        return;
    }
    if (dataSet_ != nullptr) {
        disconnect(dataSet_, nullptr, this, nullptr);
    }
    dataSet_ = dataSet;
    connectDataSet();
    Q_EMIT dataSetChanged();
    Q_EMIT changed();
}

void DataSource::connectDataSet() {
    if (dataSet_ == nullptr) {
        return;
    }
    using store::DataSet;
    connect(dataSet_, &DataSet::stateChanged, this, [this](DataSet::State state) {
        Q_EMIT stateChanged(state);
        Q_EMIT changed();
    });
    connect(dataSet_, &DataSet::currentRowChanged, this, [this](int row) {
        Q_EMIT currentRowChanged(row);
        Q_EMIT changed();
    });
    connect(dataSet_, &DataSet::rowsReset, this, [this] {
        Q_EMIT rowsReset();
        Q_EMIT changed();
    });
    connect(dataSet_, &DataSet::rowInserted, this, [this](int row) {
        Q_EMIT rowInserted(row);
        Q_EMIT changed();
    });
    connect(dataSet_, &DataSet::rowRemoved, this, [this](int row) {
        Q_EMIT rowRemoved(row);
        Q_EMIT changed();
    });
    connect(dataSet_, &DataSet::rowChanged, this, [this](int row) {
        Q_EMIT rowChanged(row);
        Q_EMIT changed();
    });
    // A set destroyed before its source leaves the controls empty, not dangling.
    connect(dataSet_, &QObject::destroyed, this, [this] {
        Q_EMIT dataSetChanged();
        Q_EMIT changed();
    });
}

bool DataSource::isActive() const {
    return dataSet_ != nullptr && dataSet_->isActive();
}

void DataSource::attachEditor(PendingEdit* editor) {
    if (!editors_.contains(editor)) {
        editors_.append(editor);
    }
}

void DataSource::detachEditor(PendingEdit* editor) {
    editors_.removeAll(editor);
}

void DataSource::updateRecord() {
    const QList<PendingEdit*> editors = editors_;
    for (PendingEdit* editor : editors) {
        editor->commitPendingEdit();
    }
}

bool DataSource::perform(QWidget* parent, const std::function<void(store::DataSet&)>& action) {
    if (dataSet_ == nullptr) {
        return false;
    }
    try {
        updateRecord();
        action(*dataSet_);
        return true;
    } catch (const store::DatabaseError& error) {
        ShowStandardError(parent, error.message());
        return false;
    }
}

}  // namespace widgets
