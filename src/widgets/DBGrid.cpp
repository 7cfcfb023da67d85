#include "widgets/DBGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "widgets/Messages.h"

namespace widgets {
namespace {

constexpr int kIndicatorWidth = 12;
constexpr int kDefaultColumnWidth = 64;

// The row indicator column: marks the current row by the state of its set.
// It is part of its row: a click on it makes the row current, like a click
// on a cell.
class IndicatorHeader : public QHeaderView {
public:
    IndicatorHeader(QWidget* parent, std::function<void(int)> rowPressed)
        : QHeaderView(Qt::Vertical, parent), rowPressed_(std::move(rowPressed)) {}

    void setDataSource(DataSource* source) { source_ = source; }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            const int row = logicalIndexAt(event->position().toPoint());
            if (row >= 0) {
                rowPressed_(row);
            }
        }
        event->accept();
    }

    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        // The style leaves the painter clipped to nothing; keep its state out.
        painter->save();
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        const store::DataSet* set = source_ != nullptr ? source_->dataSet() : nullptr;
        if (set == nullptr || !set->isActive() || set->recNo() != logicalIndex) {
            return;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Qt::black, 1));
        painter->setBrush(Qt::black);
        const QPointF c = QRectF(rect).center();
        switch (set->state()) {
            case store::DataSet::State::Edit:
                painter->drawLine(QPointF(c.x(), c.y() - 4), QPointF(c.x(), c.y() + 4));
                painter->drawLine(QPointF(c.x() - 2, c.y() - 4), QPointF(c.x() + 2, c.y() - 4));
                painter->drawLine(QPointF(c.x() - 2, c.y() + 4), QPointF(c.x() + 2, c.y() + 4));
                break;
            case store::DataSet::State::Insert:
                painter->setPen(QPen(Qt::black, 1.5));
                painter->drawLine(QPointF(c.x(), c.y() - 4), QPointF(c.x(), c.y() + 4));
                painter->drawLine(QPointF(c.x() - 3.5, c.y() - 2), QPointF(c.x() + 3.5, c.y() + 2));
                painter->drawLine(QPointF(c.x() - 3.5, c.y() + 2), QPointF(c.x() + 3.5, c.y() - 2));
                break;
            default: {
                QPainterPath triangle;
                triangle.moveTo(c.x() - 2, c.y() - 4);
                triangle.lineTo(c.x() + 3, c.y());
                triangle.lineTo(c.x() - 2, c.y() + 4);
                triangle.closeSubpath();
                painter->drawPath(triangle);
                break;
            }
        }
        painter->restore();
    }

private:
    std::function<void(int)> rowPressed_;
    QPointer<DataSource> source_;
};

}  // namespace

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new DataSetModel(this)) {
    setVerticalHeader(new IndicatorHeader(this, [this](int row) { makeCurrent(row); }));
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::ClickFocus);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(kIndicatorWidth);
    verticalHeader()->setHighlightSections(false);
    setColumnsResizable(true);
    // The selected row keeps its colours when another control has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
    applyFonts();
}

void DBGrid::setDataSource(DataSource* source) {
    disconnect(changed_);
    source_ = source;
    static_cast<IndicatorHeader*>(verticalHeader())->setDataSource(source);
    model_->setDataSource(source);
    if (source_ != nullptr) {
        changed_ = connect(source_, &DataSource::changed, this, &DBGrid::showCurrentRow);
    }
    showCurrentRow();
}

void DBGrid::addColumn(const QString& field, const QString& title, int width,
                       Qt::Alignment alignment) {
    model_->addColumn({field, title, alignment});
    const int column = model_->columnCount() - 1;
    // A screen reader names the grid by what it lists: its column titles.
    setAccessibleName(accessibleName().isEmpty() ? title
                                                 : accessibleName() + QStringLiteral(", ") + title);
    setColumnWidth(column, width > 0 ? width : kDefaultColumnWidth);
    showCurrentRow();
}

void DBGrid::setColumnsResizable(bool resizable) {
    horizontalHeader()->setSectionResizeMode(resizable ? QHeaderView::Interactive
                                                       : QHeaderView::Fixed);
}

void DBGrid::showCurrentRow() {
    const store::DataSet* set = source_ != nullptr ? source_->dataSet() : nullptr;
    const int row = set != nullptr && set->isActive() ? set->recNo() : -1;
    if (row < 0 || row >= model_->rowCount() || model_->columnCount() == 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = model_->index(row, 0);
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    verticalHeader()->viewport()->update();
}

void DBGrid::makeCurrent(int row) {
    if (source_ == nullptr || !source_->isActive() || row < 0) {
        return;
    }
    source_->perform(window(), [row](store::DataSet& set) { set.moveTo(row); });
    showCurrentRow();
}

void DBGrid::deleteCurrentRow() {
    if (source_ == nullptr || !source_->isActive() || source_->dataSet()->isEmpty() ||
        !source_->dataSet()->isUpdatable()) {
        return;
    }
    if (ConfirmDeleteRecord(window())) {
        source_->perform(window(), [](store::DataSet& set) { set.deleteRecord(); });
    }
}

int DBGrid::pageRows() const {
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    return std::max(1, viewport()->height() / rowHeight - 1);
}

void DBGrid::mousePressEvent(QMouseEvent* event) {
    // The set decides the current row; the view only follows it.
    if (event->button() == Qt::LeftButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid()) {
            makeCurrent(index.row());
        }
    }
    event->accept();
}

void DBGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void DBGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    const store::DataSet* set = source_ != nullptr ? source_->dataSet() : nullptr;
    if (set == nullptr || !set->isActive()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int row = set->recNo();
    const int last = set->recordCount() - 1;
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
        case Qt::Key_Delete:
            if (control) {
                deleteCurrentRow();
                return;
            }
            break;
        case Qt::Key_Up:
            makeCurrent(std::max(0, row - 1));
            return;
        case Qt::Key_Down:
            makeCurrent(std::min(last, row + 1));
            return;
        case Qt::Key_PageUp:
            makeCurrent(std::max(0, row - pageRows()));
            return;
        case Qt::Key_PageDown:
            makeCurrent(std::min(last, row + pageRows()));
            return;
        case Qt::Key_Home:
            if (control) {
                makeCurrent(0);
                return;
            }
            break;
        case Qt::Key_End:
            if (control) {
                makeCurrent(last);
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

void DBGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyFonts();
    }
}

void DBGrid::applyFonts() {
    QFont titles = font();
    titles.setBold(true);
    horizontalHeader()->setFont(titles);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 5);
}

void AddGridColumns(DBGrid* grid, std::initializer_list<GridColumn> columns) {
    for (const GridColumn& column : columns) {
        grid->addColumn(QLatin1String(column.field), QString::fromUtf8(column.title), column.width,
                        column.alignment);
    }
}

}  // namespace widgets
