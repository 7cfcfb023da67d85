#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace widgets {

enum class Answer { None, Ok, Cancel, Yes, No };

enum class MessageIcon { None, Question, Information, Warning, Error };

// Everything a message box shows and how its keys answer.
struct MessageRequest {
    QString caption;
    QString text;  // "\r" breaks lines, as in the program's message texts
    MessageIcon icon = MessageIcon::None;
    QList<Answer> buttons;
    Answer defaultAnswer = Answer::Ok;  // Enter
    Answer escapeAnswer = Answer::Ok;   // Escape and the close box
};

// Shows the box modally and returns the button pressed. Every helper below
// goes through here.
Answer ShowMessageBox(QWidget* parent, const MessageRequest& request);

// Plain notice: the application title as caption, no icon, one "OK".
void ShowNotice(QWidget* parent, const QString& text);

// Typed dialogs: an icon and an English caption by kind.
// "Confirm" with "&Yes" and "&No"; which one Enter and Escape press is the
// caller's.
Answer ShowConfirm(QWidget* parent, const QString& text, Answer defaultAnswer = Answer::Yes,
                   Answer escapeAnswer = Answer::No);
void ShowInformation(QWidget* parent, const QString& text);
void ShowWarning(QWidget* parent, const QString& text);
void ShowErrorDialog(QWidget* parent, const QString& text);

// A warning that blocks nothing: caption "Warning", one "OK", shown beside
// parent, which stays usable; the box deletes itself when closed. Its
// objectName is "NoteBox". For news the user should have but need not act on
// at once.
void ShowNote(QWidget* parent, const QString& text);

// "Delete record?" with OK and Cancel; true on OK.
bool ConfirmDeleteRecord(QWidget* parent);

// The application's standard error box, for errors a window does not catch
// itself: the application title as caption, the error icon, the error text.
void ShowStandardError(QWidget* parent, const QString& errorText);

// The test seam: while a responder is set, no box is shown; the responder
// receives the request and returns the button it presses.
using MessageResponder = std::function<Answer(const MessageRequest&)>;
void SetMessageResponder(MessageResponder responder);

// The text a box shows: "\r" as line breaks.
QString DisplayText(const QString& text);

}  // namespace widgets
