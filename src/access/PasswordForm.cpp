#include "access/PasswordForm.h"

#include "access/AccessLook.h"
#include "access/PasswordHash.h"
#include "core/AppGlobals.h"
#include "store/InputText.h"
#include "ui_PasswordForm.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

constexpr int kClientWidth = 289;
const QString kSaved = QStringLiteral("Η καταχώρηση έχει πραγματοποιηθεί.");

}  // namespace

// The group's caption is the window's, and the first line's label names
// what the window does with the password.
PasswordForm::PasswordForm(const QString& className, const QString& caption,
                           const QString& firstLabel, int clientHeight, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::PasswordForm>()) {
    setObjectName(className);
    ui->setupUi(this);
    setWindowTitle(caption);
    ui->GroupBox1->setTitle(caption);
    ui->Label1->setText(firstLabel);
    widgets::ApplyWindowConventions(this, QSize(kClientWidth, clientHeight));
    widgets::ApplyControlRoles(this);
    accesscontrol::RemoveTitleBarButtons(this);
    widgets::SetDefaultButton(ui->Button1);

    connect(ui->Edit1, &QLineEdit::textChanged, this, &PasswordForm::Edit1Change);
    connect(ui->Edit2, &QLineEdit::textChanged, this, &PasswordForm::Edit2Change);
    connect(ui->Button1, &QPushButton::clicked, this, &PasswordForm::Button1Click);
    ui->Edit1->setFocus();
    FormCreate();
}

PasswordForm::~PasswordForm() = default;

void PasswordForm::FormCreate() {
    ADOConnection1.setConnectionString(app().AppConnectionString);
    ADOConnection1.setCommandTimeout(0);
    ADOConnection1.setConnectionTimeout(0);
    UpdateSaveButton();
}

void PasswordForm::Edit1Change() {
    UpdateSaveButton();
}

void PasswordForm::Edit2Change() {
    UpdateSaveButton();
}

void PasswordForm::UpdateSaveButton() {
    const QString first = TrimInputText(ui->Edit1->text());
    const QString second = TrimInputText(ui->Edit2->text());
    ui->Button1->setEnabled(!first.isEmpty() && IsCleanInputText(first) &&
                            IsCleanInputText(second) && first == second);
}

void PasswordForm::Button1Click() {
    try {
        SavePassword(TrimInputText(ui->Edit1->text()));
    } catch (const std::exception&) {
        ADOConnection1.close();
        widgets::ShowNotice(this, accesscontrol::kErrorText);
        return;
    }
    widgets::ShowNotice(this, kSaved);
    accept();
}

void PasswordForm::SavePassword(const QString& password) {
    const QString hash = accesscontrol::HashPassword(password);
    ADOConnection1.close();
    ADOConnection1.open();
    StorePasswordHash(ADOConnection1, hash);
    ADOConnection1.close();
}

void PasswordForm::FormClose() {
    ADOConnection1.close();
}

void PasswordForm::done(int result) {
    FormClose();
    QDialog::done(result);
}
