#pragma once

#include <QList>
#include <QMap>
#include <QPointer>
#include <QWidget>

#include "widgets/DataSource.h"

class QAbstractButton;
class QHBoxLayout;
class QToolButton;

namespace widgets {

enum class NavigatorButton { First, Prior, Next, Last, Insert, Delete, Post };

// The record navigator: a row of buttons that move through the bound set,
// start a new row, delete the current one (after "Delete record?") and
// post. A button is enabled only when its action means something: First
// and Prior away from the first row, Next and Last away from the last,
// Delete on a non-empty set, Post while a row is edited or inserted, Insert
// while the set is open.
class DBNavigator : public QWidget {
    Q_OBJECT

public:
    explicit DBNavigator(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    // The buttons shown, always in the order of NavigatorButton.
    void setVisibleButtons(const QList<NavigatorButton>& buttons);
    QAbstractButton* button(NavigatorButton which) const;
    // The shown buttons, left to right.
    QList<QAbstractButton*> buttonsInOrder() const;

Q_SIGNALS:
    // After every button's action, a cancelled delete included; not after an
    // action that the data set refused.
    void buttonClicked(widgets::NavigatorButton which);

private:
    void buttonPressed(NavigatorButton which);
    bool runAction(NavigatorButton which);
    void updateButtons();

    QPointer<DataSource> source_;
    QMetaObject::Connection changed_;
    QMap<NavigatorButton, QToolButton*> buttons_;
};

// Sets the Tab order of a window's controls in the order given, a navigator
// standing for its shown buttons, and gives the first one the focus.
void SetTabChain(const QList<QWidget*>& chain);

}  // namespace widgets
