#pragma once

#include <QLineEdit>

#include "widgets/DataSource.h"
#include "widgets/FieldLink.h"

namespace widgets {

// A one-line field bound to a column of the current row. Typing puts the
// set into Edit (on an empty set it starts a new row); the column's
// declared length is the typing limit. Text columns take every keystroke at
// once; a date or an amount is taken when the row is posted or left (or
// when the field loses the focus with a complete value), and a text that is
// not a value of its kind is refused then, keeping the row in Edit. In an
// amount the keypad's decimal key types the decimal comma, a keystroke that
// cannot form a number is refused with a sound and a hint at the box, and a
// pasted or dropped text is read as a Greek amount ("1.234,56") or refused
// with a message naming it, never cut down to the characters that fit.
class DBEdit : public QLineEdit, public PendingEdit {
    Q_OBJECT

public:
    explicit DBEdit(QWidget* parent = nullptr);
    ~DBEdit() override;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& name);
    const QString& dataField() const { return link_.dataField(); }

    void commitPendingEdit() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showFieldValue();
    void adoptFieldKind(const store::FieldInfo* field);
    void takeTypedText(const QString& text);
    bool keepsPendingText() const;
    bool holdsAmount() const;
    void refuseKeystroke();
    void pasteAmount(const QString& pasted);

    FieldLink link_;
    QValidator* keystrokes_ = nullptr;
    const store::FieldInfo* shownField_ = nullptr;
    store::FieldInfo::Kind shownKind_ = store::FieldInfo::Kind::Memo;
    bool writing_ = false;
    bool pending_ = false;
    int pendingRow_ = -1;
};

}  // namespace widgets
