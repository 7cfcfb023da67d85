#include "widgets/DBMemo.h"

#include <QKeyEvent>
#include <QTextDocument>

#include "store/DatabaseError.h"
#include "widgets/FieldText.h"
#include "widgets/Messages.h"

namespace widgets {
namespace {

const QString kWindowsBreak = QStringLiteral("\r\n");

}  // namespace

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent), link_([this] { showFieldValue(); }) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::takeTypedText);
    showFieldValue();
}

void DBMemo::setDataSource(DataSource* source) {
    link_.setDataSource(source);
}

void DBMemo::setDataField(const QString& name) {
    link_.setDataField(name);
}

QString DBMemo::memoText() const {
    // The raw text keeps non-breaking spaces, which toPlainText() would turn
    // into blanks; paragraph and line separators become line breaks.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (windowsBreaks_) {
        text.replace(QLatin1Char('\n'), kWindowsBreak);
    }
    return text;
}

void DBMemo::showFieldValue() {
    if (writing_) {
        return;
    }
    setReadOnly(!link_.canModify());
    const store::FieldInfo* field = link_.field();
    const QString stored = field != nullptr ? FieldDisplayText(*field, link_.value()) : QString();
    windowsBreaks_ = stored.contains(kWindowsBreak);
    QString shown = stored;
    shown.replace(kWindowsBreak, QStringLiteral("\n"));
    if (memoText() == stored) {
        return;
    }
    showing_ = true;
    setPlainText(shown);
    showing_ = false;
}

void DBMemo::takeTypedText() {
    if (showing_ || isReadOnly() || link_.field() == nullptr) {
        return;
    }
    const QString text = memoText();
    if (text == FieldDisplayText(*link_.field(), link_.value())) {
        return;
    }
    writing_ = true;
    try {
        link_.write(text.isEmpty() ? QVariant() : QVariant(text));
    } catch (const store::DatabaseError& error) {
        writing_ = false;
        ShowStandardError(this, error.message());
        return;
    }
    writing_ = false;
}

// The editor types a Tab that found no other control to move to.
void DBMemo::keyPressEvent(QKeyEvent* event) {
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && !event->modifiers().testFlag(Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

}  // namespace widgets
