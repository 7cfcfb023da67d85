#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

#include "store/DataSet.h"

class QWidget;

namespace widgets {

// A bound control that may hold typed text the data set has not taken yet
// (a date or an amount is taken only when it parses).
class PendingEdit {
public:
    virtual ~PendingEdit() = default;
    // Hands the typed text to the data set; throws store::DatabaseError when
    // the text is not a value of the field's kind.
    virtual void commitPendingEdit() = 0;
};

// Binds controls to one data set. The controls listen here rather than to
// the set itself, so a window may swap or close its set and every control
// follows.
class DataSource : public QObject {
    Q_OBJECT

public:
    explicit DataSource(QObject* parent = nullptr);

    void setDataSet(store::DataSet* dataSet);
    store::DataSet* dataSet() const { return dataSet_; }
    // The set is open (in Browse, Edit or Insert).
    bool isActive() const;

    void attachEditor(PendingEdit* editor);
    void detachEditor(PendingEdit* editor);
    // Hands every control's typed text to the set; throws on a bad value.
    void updateRecord();

    // Runs one user action on the set: typed text first, then the action.
    // A refused action is shown in the standard error box over parent and
    // returns false; the row keeps its state and typed values.
    bool perform(QWidget* parent, const std::function<void(store::DataSet&)>& action);

Q_SIGNALS:
    // Any change that may alter what a bound control shows.
    void changed();
    void dataSetChanged();
    void stateChanged(store::DataSet::State state);
    void currentRowChanged(int row);
    void rowsReset();
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);

private:
    void connectDataSet();

    QPointer<store::DataSet> dataSet_;
    QList<PendingEdit*> editors_;
};

}  // namespace widgets
