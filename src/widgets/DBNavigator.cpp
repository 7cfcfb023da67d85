#include "widgets/DBNavigator.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "widgets/Messages.h"

namespace widgets {
namespace {

struct ButtonInfo {
    NavigatorButton which;
    const char* objectName;
    const char* toolTip;
};

const ButtonInfo kButtons[] = {
    {NavigatorButton::First, "nbFirst", "First record"},
    {NavigatorButton::Prior, "nbPrior", "Prior record"},
    {NavigatorButton::Next, "nbNext", "Next record"},
    {NavigatorButton::Last, "nbLast", "Last record"},
    {NavigatorButton::Insert, "nbInsert", "Insert record"},
    {NavigatorButton::Delete, "nbDelete", "Delete record"},
    {NavigatorButton::Post, "nbPost", "Post edit"},
};

constexpr int kGlyphSize = 16;

QPainterPath Triangle(qreal tipX, qreal baseX) {
    QPainterPath path;
    path.moveTo(tipX, 8);
    path.lineTo(baseX, 3);
    path.lineTo(baseX, 13);
    path.closeSubpath();
    return path;
}

void DrawGlyph(QPainter& painter, NavigatorButton which) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    switch (which) {
        case NavigatorButton::First:
            painter.drawRect(QRectF(4, 3, 2, 10));
            painter.drawPath(Triangle(7, 12));
            break;
        case NavigatorButton::Prior:
            painter.drawPath(Triangle(5, 10));
            break;
        case NavigatorButton::Next:
            painter.drawPath(Triangle(11, 6));
            break;
        case NavigatorButton::Last:
            painter.drawPath(Triangle(9, 4));
            painter.drawRect(QRectF(10, 3, 2, 10));
            break;
        case NavigatorButton::Insert:
            painter.drawRect(QRectF(3, 7, 10, 2));
            painter.drawRect(QRectF(7, 3, 2, 10));
            break;
        case NavigatorButton::Delete:
            painter.drawRect(QRectF(3, 7, 10, 2));
            break;
        case NavigatorButton::Post: {
            painter.setPen(QPen(Qt::black, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
            QPainterPath tick;
            tick.moveTo(3, 8.5);
            tick.lineTo(6.5, 12);
            tick.lineTo(13, 4.5);
            painter.drawPath(tick);
            break;
        }
    }
}

// Drawn here rather than taken from image files; the disabled look comes
// from QIcon's own greying.
QIcon GlyphIcon(NavigatorButton which) {
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawGlyph(painter, which);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const ButtonInfo& info : kButtons) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(info.objectName));
        button->setToolTip(QLatin1String(info.toolTip));
        // A glyph says nothing to a screen reader: the button is named by
        // its tooltip.
        button->setAccessibleName(QLatin1String(info.toolTip));
        button->setIcon(GlyphIcon(info.which));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setFocusPolicy(Qt::TabFocus);
        const NavigatorButton which = info.which;
        connect(button, &QToolButton::clicked, this, [this, which] { buttonPressed(which); });
        layout->addWidget(button);
        buttons_.insert(info.which, button);
    }
    updateButtons();
}

void DBNavigator::setDataSource(DataSource* source) {
    disconnect(changed_);
    source_ = source;
    if (source_ != nullptr) {
        changed_ = connect(source_, &DataSource::changed, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setVisibleButtons(const QList<NavigatorButton>& buttons) {
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it) {
        it.value()->setVisible(buttons.contains(it.key()));
    }
}

QAbstractButton* DBNavigator::button(NavigatorButton which) const {
    return buttons_.value(which);
}

QList<QAbstractButton*> DBNavigator::buttonsInOrder() const {
    QList<QAbstractButton*> shown;
    for (QToolButton* button : buttons_) {
        if (!button->isHidden()) {
            shown.append(button);
        }
    }
    return shown;
}

void DBNavigator::buttonPressed(NavigatorButton which) {
    if (runAction(which)) {
        Q_EMIT buttonClicked(which);
    }
}

bool DBNavigator::runAction(NavigatorButton which) {
    if (source_ == nullptr || !source_->isActive()) {
        return false;
    }
    QWidget* owner = window();
    if (which == NavigatorButton::Delete) {
        if (!ConfirmDeleteRecord(owner)) {
            return true;
        }
    }
    return source_->perform(owner, [which](store::DataSet& set) {
        switch (which) {
            case NavigatorButton::First:
                set.first();
                break;
            case NavigatorButton::Prior:
                set.prior();
                break;
            case NavigatorButton::Next:
                set.next();
                break;
            case NavigatorButton::Last:
                set.last();
                break;
            case NavigatorButton::Insert:
                set.insert();
                break;
            case NavigatorButton::Delete:
                set.deleteRecord();
                break;
            case NavigatorButton::Post:
                set.post();
                break;
        }
    });
}

void DBNavigator::updateButtons() {
    const store::DataSet* set = source_ != nullptr ? source_->dataSet() : nullptr;
    const bool active = set != nullptr && set->isActive();
    const bool updatable = active && set->isUpdatable();
    const bool editing = active && (set->state() == store::DataSet::State::Edit ||
                                    set->state() == store::DataSet::State::Insert);
    const int row = active ? set->recNo() : -1;
    const int count = active ? set->recordCount() : 0;
    const bool canGoUp = row > 0;
    const bool canGoDown = row >= 0 && row < count - 1;
    buttons_[NavigatorButton::First]->setEnabled(canGoUp);
    buttons_[NavigatorButton::Prior]->setEnabled(canGoUp);
    buttons_[NavigatorButton::Next]->setEnabled(canGoDown);
    buttons_[NavigatorButton::Last]->setEnabled(canGoDown);
    buttons_[NavigatorButton::Insert]->setEnabled(updatable);
    buttons_[NavigatorButton::Delete]->setEnabled(updatable && count > 0);
    buttons_[NavigatorButton::Post]->setEnabled(editing);
}

void SetTabChain(const QList<QWidget*>& chain) {
    QList<QWidget*> stops;
    for (QWidget* widget : chain) {
        if (auto* navigator = qobject_cast<DBNavigator*>(widget)) {
            for (QAbstractButton* button : navigator->buttonsInOrder()) {
                stops.append(button);
            }
        } else {
            stops.append(widget);
        }
    }
    for (int i = 1; i < stops.size(); ++i) {
        QWidget::setTabOrder(stops.at(i - 1), stops.at(i));
    }
    if (!stops.isEmpty()) {
        stops.first()->setFocus();
    }
}

}  // namespace widgets
