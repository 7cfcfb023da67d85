#include "access/Unit165.h"

#include "access/AccessLook.h"
#include "access/LoginPassword.h"
#include "core/AppGlobals.h"
#include "store/InputText.h"
#include "ui_Unit165.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

const QString kAccessDenied = QStringLiteral("Δεν επιτρέπεται η πρόσβαση.");

}  // namespace

TForm165::TForm165(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm165>()) {
    ui->setupUi(this);
    widgets::ApplyWindowConventions(this, size());
    widgets::ApplyControlRoles(this);
    accesscontrol::RemoveTitleBarButtons(this);
    widgets::SetDefaultButton(ui->Button4);
    widgets::SetCancelButton(this, ui->Button2);

    connect(ui->Edit3, &QLineEdit::textChanged, this, &TForm165::Edit3Change);
    connect(ui->Button4, &QPushButton::clicked, this, &TForm165::Button4Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm165::Button2Click);
    ui->Edit3->setFocus();
    FormCreate();
}

TForm165::~TForm165() = default;

void TForm165::FormCreate() {
    ADOConnection1.setConnectionString(app().AppConnectionString);
    ADOConnection1.setCommandTimeout(0);
    ADOConnection1.setConnectionTimeout(0);
    UpdateLoginButton();
}

void TForm165::Edit3Change() {
    UpdateLoginButton();
}

void TForm165::UpdateLoginButton() {
    const QString text = TrimInputText(ui->Edit3->text());
    ui->Button4->setEnabled(!text.isEmpty() && IsCleanInputText(text));
}

void TForm165::Button4Click() {
    app().ExitMarker = kLoginAccepted;
    CheckPassword(TrimInputText(ui->Edit3->text()));
}

void TForm165::CheckPassword(const QString& text) {
    int matches = 0;
    try {
        matches = CountMatchingPasswords(text);
    } catch (const std::exception&) {
        ADOConnection1.close();
        RefuseAttempt(accesscontrol::kErrorText);
        return;
    }
    if (matches >= 1) {
        accept();
        return;
    }
    RefuseAttempt(kAccessDenied);
}

int TForm165::CountMatchingPasswords(const QString& text) {
    ADOConnection1.close();
    ADOConnection1.open();
    const int matches = accesscontrol::CountMatchingPasswords(ADOConnection1, text);
    ADOConnection1.close();
    return matches;
}

void TForm165::RefuseAttempt(const QString& message) {
    app().ExitMarker = kExitRequested;
    widgets::ShowNotice(this, message);
    ui->Edit3->clear();
}

void TForm165::Button2Click() {
    ADOConnection1.close();
    app().ExitMarker = kExitRequested;
    close();
}

void TForm165::FormClose() {
    ADOConnection1.close();
}

void TForm165::done(int result) {
    FormClose();
    QDialog::done(result);
}
