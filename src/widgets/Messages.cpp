#include "widgets/Messages.h"

#include <QMessageBox>
#include <QPushButton>

#include "core/AppGlobals.h"

namespace widgets {
namespace {

MessageResponder& Responder() {
    static MessageResponder responder;
    return responder;
}

QString ButtonText(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return QStringLiteral("OK");
        case Answer::Cancel:
            return QStringLiteral("Cancel");
        case Answer::Yes:
            return QStringLiteral("&Yes");
        case Answer::No:
            return QStringLiteral("&No");
        case Answer::None:
            break;
    }
    return {};
}

QMessageBox::ButtonRole RoleOf(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return QMessageBox::AcceptRole;
        case Answer::Yes:
            return QMessageBox::YesRole;
        case Answer::No:
            return QMessageBox::NoRole;
        default:
            return QMessageBox::RejectRole;
    }
}

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

MessageRequest TypedRequest(const QString& caption, MessageIcon icon, const QString& text) {
    MessageRequest request;
    request.caption = caption;
    request.icon = icon;
    request.text = text;
    request.buttons = {Answer::Ok};
    return request;
}

}  // namespace

QString DisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void SetMessageResponder(MessageResponder responder) {
    Responder() = std::move(responder);
}

Answer ShowMessageBox(QWidget* parent, const MessageRequest& request) {
    if (Responder()) {
        return Responder()(request);
    }
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowTitle(request.caption);
    box.setText(DisplayText(request.text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconOf(request.icon));
    QList<QPair<QPushButton*, Answer>> buttons;
    for (Answer answer : request.buttons) {
        QPushButton* button = box.addButton(ButtonText(answer), RoleOf(answer));
        buttons.append({button, answer});
        if (answer == request.defaultAnswer) {
            box.setDefaultButton(button);
        }
        if (answer == request.escapeAnswer) {
            box.setEscapeButton(button);
        }
    }
    box.exec();
    for (const auto& [button, answer] : buttons) {
        if (box.clickedButton() == button) {
            return answer;
        }
    }
    return request.escapeAnswer;
}

void ShowNotice(QWidget* parent, const QString& text) {
    ShowMessageBox(parent, TypedRequest(kApplicationTitle, MessageIcon::None, text));
}

Answer ShowConfirm(QWidget* parent, const QString& text, Answer defaultAnswer,
                   Answer escapeAnswer) {
    MessageRequest request = TypedRequest(QStringLiteral("Confirm"), MessageIcon::Question, text);
    request.buttons = {Answer::Yes, Answer::No};
    request.defaultAnswer = defaultAnswer;
    request.escapeAnswer = escapeAnswer;
    return ShowMessageBox(parent, request);
}

void ShowInformation(QWidget* parent, const QString& text) {
    ShowMessageBox(parent,
                   TypedRequest(QStringLiteral("Information"), MessageIcon::Information, text));
}

void ShowWarning(QWidget* parent, const QString& text) {
    ShowMessageBox(parent, TypedRequest(QStringLiteral("Warning"), MessageIcon::Warning, text));
}

void ShowErrorDialog(QWidget* parent, const QString& text) {
    ShowMessageBox(parent, TypedRequest(QStringLiteral("Error"), MessageIcon::Error, text));
}

void ShowNote(QWidget* parent, const QString& text) {
    auto* box = new QMessageBox(parent);
    box->setObjectName(QStringLiteral("NoteBox"));
    box->setWindowTitle(QStringLiteral("Warning"));
    box->setText(DisplayText(text));
    box->setTextFormat(Qt::PlainText);
    box->setIcon(QMessageBox::Warning);
    box->addButton(ButtonText(Answer::Ok), RoleOf(Answer::Ok));
    // A message box is modal unless told otherwise.
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

bool ConfirmDeleteRecord(QWidget* parent) {
    MessageRequest request = TypedRequest(QStringLiteral("Confirm"), MessageIcon::Question,
                                          QStringLiteral("Delete record?"));
    request.buttons = {Answer::Ok, Answer::Cancel};
    request.defaultAnswer = Answer::Ok;
    request.escapeAnswer = Answer::Cancel;
    return ShowMessageBox(parent, request) == Answer::Ok;
}

void ShowStandardError(QWidget* parent, const QString& errorText) {
    ShowMessageBox(parent, TypedRequest(kApplicationTitle, MessageIcon::Error, errorText));
}

}  // namespace widgets
