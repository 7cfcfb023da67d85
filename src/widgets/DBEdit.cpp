#include "widgets/DBEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QToolTip>
#include <QValidator>

#include "core/ProgramLocale.h"
#include "store/DatabaseError.h"
#include "widgets/FieldText.h"
#include "widgets/Messages.h"

namespace widgets {
namespace {

constexpr int kUnlimitedLength = 32767;

}  // namespace

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), link_([this] { showFieldValue(); }) {
    connect(this, &QLineEdit::textEdited, this, &DBEdit::takeTypedText);
    connect(this, &QLineEdit::inputRejected, this, &DBEdit::refuseKeystroke);
    showFieldValue();
}

DBEdit::~DBEdit() {
    if (link_.dataSource() != nullptr) {
        link_.dataSource()->detachEditor(this);
    }
}

void DBEdit::setDataSource(DataSource* source) {
    if (link_.dataSource() != nullptr) {
        link_.dataSource()->detachEditor(this);
    }
    pending_ = false;
    link_.setDataSource(source);
    if (source != nullptr) {
        source->attachEditor(this);
    }
}

void DBEdit::setDataField(const QString& name) {
    pending_ = false;
    link_.setDataField(name);
}

bool DBEdit::keepsPendingText() const {
    const store::DataSet* set = link_.dataSet();
    if (!pending_ || set == nullptr) {
        return false;
    }
    const auto state = set->state();
    return (state == store::DataSet::State::Edit || state == store::DataSet::State::Insert) &&
           set->recNo() == pendingRow_;
}

void DBEdit::showFieldValue() {
    if (writing_) {
        return;
    }
    const store::FieldInfo* field = link_.field();
    adoptFieldKind(field);
    setReadOnly(!link_.canModify());
    if (keepsPendingText()) {
        return;
    }
    pending_ = false;
    const QString text = field != nullptr ? FieldDisplayText(*field, link_.value()) : QString();
    const int limit = field != nullptr && field->size > 0 ? field->size : kUnlimitedLength;
    // A stored value longer than the limit is shown whole, never cut.
    setMaxLength(std::max(limit, int(text.size())));
    if (text != this->text()) {
        setText(text);
    }
}

void DBEdit::adoptFieldKind(const store::FieldInfo* field) {
    const auto kind = field != nullptr ? field->kind : store::FieldInfo::Kind::Memo;
    if (field == shownField_ && kind == shownKind_) {
        return;
    }
    shownField_ = field;
    shownKind_ = kind;
    delete keystrokes_;
    keystrokes_ = field != nullptr ? KeystrokeValidator(*field, this) : nullptr;
    setValidator(keystrokes_);
}

void DBEdit::takeTypedText(const QString& text) {
    store::DataSet* set = link_.dataSet();
    const store::FieldInfo* field = link_.field();
    if (set == nullptr || field == nullptr) {
        return;
    }
    writing_ = true;
    try {
        if (TakesEveryKeystroke(*field)) {
            link_.write(ParseFieldText(*field, text));
        } else {
            set->edit();
            pending_ = true;
            pendingRow_ = set->recNo();
        }
    } catch (const store::DatabaseError& error) {
        writing_ = false;
        ShowStandardError(this, error.message());
        return;
    }
    writing_ = false;
}

void DBEdit::commitPendingEdit() {
    if (!keepsPendingText()) {
        pending_ = false;
        return;
    }
    const QVariant value = ParseFieldText(*link_.field(), text());
    writing_ = true;
    try {
        link_.write(value);
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
    pending_ = false;
    showFieldValue();
}

bool DBEdit::holdsAmount() const {
    return shownKind_ == store::FieldInfo::Kind::Cents;
}

void DBEdit::refuseKeystroke() {
    QApplication::beep();
    const QString hint = shownField_ != nullptr ? RefusedKeystrokeHint(*shownField_) : QString();
    if (!hint.isEmpty()) {
        QToolTip::showText(mapToGlobal(QPoint(0, height())), hint, this);
    }
}

// The whole text is read or refused whole: the validator alone would drop a
// paste it cannot take without a word.
void DBEdit::pasteAmount(const QString& pasted) {
    if (isReadOnly()) {
        return;
    }
    const std::optional<QString> amount = ReadPastedAmount(pasted);
    QString result = text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    result.replace(start, int(selectedText().size()), amount.value_or(QString()));
    int position = start;
    // An amount that does not fit beside what the box holds is named as the
    // box would have held it.
    if (!amount || keystrokes_->validate(result, position) == QValidator::Invalid) {
        ShowStandardError(this, UnreadableAmountMessage(amount ? result : pasted));
        return;
    }
    insert(*amount);
}

void DBEdit::keyPressEvent(QKeyEvent* event) {
    if (holdsAmount() && event->matches(QKeySequence::Paste)) {
        pasteAmount(QGuiApplication::clipboard()->text());
        return;
    }
    const bool keypadDecimal = event->modifiers().testFlag(Qt::KeypadModifier) &&
                               (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma);
    if (keypadDecimal && holdsAmount()) {
        const QString comma = ProgramLocale().decimalPoint();
        QKeyEvent typed(event->type(), Qt::Key_Comma, event->modifiers(), comma);
        QLineEdit::keyPressEvent(&typed);
        event->setAccepted(typed.isAccepted());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    // A complete value is taken on leaving. Tabbing away from a text that is
    // not a value reports it and brings the focus back; any other way out (a
    // click on a button, another window) leaves the report to the post, so
    // that one mistake never shows two boxes.
    const bool byKeyboard =
        event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QString refusal;
    try {
        commitPendingEdit();
    } catch (const store::DatabaseError& error) {
        refusal = error.message();
    }
    QLineEdit::focusOutEvent(event);
    if (byKeyboard && !refusal.isEmpty()) {
        ShowStandardError(this, refusal);
        setFocus(Qt::OtherFocusReason);
    }
}

void DBEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
        paste != nullptr && holdsAmount()) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this,
                [this] { pasteAmount(QGuiApplication::clipboard()->text()); });
    }
    menu->popup(event->globalPos());
}

// Text dragged within the box moves as it is.
void DBEdit::dropEvent(QDropEvent* event) {
    if (!holdsAmount() || !event->mimeData()->hasText() || event->source() == this) {
        QLineEdit::dropEvent(event);
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    deselect();
    pasteAmount(event->mimeData()->text());
    event->acceptProposedAction();
}

// A box drawn without a frame (the slots of a day) would show its focus by
// the cursor alone; a frame in the highlight colour shows it at a glance.
void DBEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (hasFrame() || !hasFocus()) {
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace widgets
