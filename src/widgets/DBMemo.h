#pragma once

#include <QPlainTextEdit>

#include "widgets/DataSource.h"
#include "widgets/FieldLink.h"

namespace widgets {

// A multi-line field bound to a column of the current row. The text goes
// to the column exactly as shown: line breaks are written the way the
// stored text writes them ("\r\n" stays "\r\n"), and nothing else changes.
// Tab moves the focus, as in the other fields, and never types a tab, even
// where the window has nothing else to move to.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& name);
    const QString& dataField() const { return link_.dataField(); }

    // The text as the column receives it.
    QString memoText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showFieldValue();
    void takeTypedText();

    FieldLink link_;
    bool writing_ = false;
    bool showing_ = false;
    bool windowsBreaks_ = false;
};

}  // namespace widgets
