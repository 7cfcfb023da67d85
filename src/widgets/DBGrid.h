#pragma once

#include <QPointer>
#include <QTableView>
#include <initializer_list>

#include "widgets/DataSetModel.h"
#include "widgets/DataSource.h"

namespace widgets {

// A grid over the rows of a bound set: bold centred titles, a row
// indicator (a triangle on the current row, an I-beam while it is edited,
// a star while it is new), grid lines and whole-row selection that stays
// visible without the focus. Cells are never edited in place and the grid
// takes no part in the Tab order. Clicking a row (its indicator included)
// or the arrow keys make a row current, posting a changed row first;
// Ctrl+Delete asks "Delete record?" and deletes the current row on OK.
class DBGrid : public QTableView {
    Q_OBJECT

public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    // A width of 0 or less takes the grid's default column width.
    void addColumn(const QString& field, const QString& title, int width,
                   Qt::Alignment alignment = Qt::AlignLeft);
    void setColumnsResizable(bool resizable);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void makeCurrent(int row);
    void deleteCurrentRow();
    void showCurrentRow();
    void applyFonts();
    int pageRows() const;

    QPointer<DataSource> source_;
    QMetaObject::Connection changed_;
    DataSetModel* model_;
};

struct GridColumn {
    const char* field;
    const char* title;  // UTF-8
    int width;          // 0 or less: the grid's default width
    Qt::Alignment alignment;
};

void AddGridColumns(DBGrid* grid, std::initializer_list<GridColumn> columns);

}  // namespace widgets
