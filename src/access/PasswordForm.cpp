#include "access/PasswordForm.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "access/AccessLook.h"
#include "access/PasswordHash.h"
#include "core/AppGlobals.h"
#include "store/InputText.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

constexpr int kClientWidth = 289;
const QString kSaved = QStringLiteral("Η καταχώρηση έχει πραγματοποιηθεί.");

QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

PasswordForm::PasswordForm(const QString& className, const QString& caption,
                           const QString& firstLabel, int clientHeight, QWidget* parent)
    : QDialog(parent) {
    setObjectName(className);
    setWindowTitle(caption);
    widgets::ApplyWindowConventions(this, QSize(kClientWidth, clientHeight));
    accesscontrol::RemoveTitleBarButtons(this);

    GroupBox1 = new QGroupBox(caption, this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 6, kClientWidth - 16, 148);

    Label5 = accesscontrol::MakeCaseWarning(GroupBox1, QStringLiteral("Label5"));
    Label5->setGeometry(10, 22, 255, 16);
    Label1 = AddLabel(GroupBox1, QStringLiteral("Label1"), firstLabel);
    Label1->setGeometry(10, 52, 100, 16);
    Edit1 = accesscontrol::MakePasswordEdit(GroupBox1, QStringLiteral("Edit1"));
    Edit1->setGeometry(110, 49, 136, 22);
    Label2 = accesscontrol::MakeMandatoryMark(GroupBox1, QStringLiteral("Label2"), false);
    Label2->setGeometry(251, 52, 12, 16);
    Label4 = AddLabel(GroupBox1, QStringLiteral("Label4"), QStringLiteral("Επιβεβαίωση:"));
    Label4->setGeometry(10, 82, 100, 16);
    Edit2 = accesscontrol::MakePasswordEdit(GroupBox1, QStringLiteral("Edit2"));
    Edit2->setGeometry(110, 79, 136, 22);
    Label3 = accesscontrol::MakeMandatoryMark(GroupBox1, QStringLiteral("Label3"), false);
    Label3->setGeometry(251, 82, 12, 16);
    Button1 = new QPushButton(QStringLiteral("Καταχώρηση"), GroupBox1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(110, 112, 136, 27);
    widgets::SetDefaultButton(Button1);

    connect(Edit1, &QLineEdit::textChanged, this, &PasswordForm::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &PasswordForm::Edit2Change);
    connect(Button1, &QPushButton::clicked, this, &PasswordForm::Button1Click);
    Edit1->setFocus();
    FormCreate();
}

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
    const QString first = TrimInputText(Edit1->text());
    const QString second = TrimInputText(Edit2->text());
    Button1->setEnabled(!first.isEmpty() && IsCleanInputText(first) && IsCleanInputText(second) &&
                        first == second);
}

void PasswordForm::Button1Click() {
    try {
        SavePassword(TrimInputText(Edit1->text()));
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
