#include "access/Unit165.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "access/AccessLook.h"
#include "access/PasswordHash.h"
#include "app/AppGlobals.h"
#include "store/DataSet.h"
#include "store/InputText.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

constexpr QSize kClientSize(299, 192);
const QString kAccessDenied = QStringLiteral("Δεν επιτρέπεται η πρόσβαση.");

}  // namespace

TForm165::TForm165(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm165"));
    const QString caption = QStringLiteral("Έλεγχος πρόσβασης");
    setWindowTitle(caption);
    widgets::ApplyWindowConventions(this, kClientSize);
    accesscontrol::RemoveTitleBarButtons(this);

    GroupBox2 = new QGroupBox(caption, this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 6, 283, 138);

    Label8 = accesscontrol::MakeCaseWarning(GroupBox2, QStringLiteral("Label8"));
    Label8->setGeometry(10, 24, 265, 16);
    Label6 = new QLabel(QStringLiteral("Password:"), GroupBox2);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setGeometry(10, 60, 62, 16);
    Edit3 = accesscontrol::MakePasswordEdit(GroupBox2, QStringLiteral("Edit3"));
    Edit3->setGeometry(74, 57, 170, 22);
    Label7 = accesscontrol::MakeMandatoryMark(GroupBox2, QStringLiteral("Label7"), true);
    Label7->setGeometry(250, 60, 12, 16);
    Button4 = new QPushButton(QStringLiteral("Είσοδος"), GroupBox2);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setGeometry(74, 96, 170, 27);
    widgets::SetDefaultButton(Button4);

    Button2 = new QPushButton(QStringLiteral("Έ&ξοδος"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(208, 156, 83, 25);
    Button2->setFocusPolicy(Qt::ClickFocus);
    Button2->setAutoDefault(false);
    widgets::SetCancelButton(this, Button2);

    connect(Edit3, &QLineEdit::textChanged, this, &TForm165::Edit3Change);
    connect(Button4, &QPushButton::clicked, this, &TForm165::Button4Click);
    connect(Button2, &QPushButton::clicked, this, &TForm165::Button2Click);
    Edit3->setFocus();
    FormCreate();
}

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
    const QString text = TrimInputText(Edit3->text());
    Button4->setEnabled(!text.isEmpty() && IsCleanInputText(text));
}

void TForm165::Button4Click() {
    app().ExitMarker = kLoginAccepted;
    CheckPassword(TrimInputText(Edit3->text()));
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
    store::Query ADOQuery1;
    ADOQuery1.setConnection(&ADOConnection1);
    ADOQuery1.setSql(QStringLiteral("select PASSWORD from ADMINISTRATOR_ACCOUNT"));
    ADOQuery1.open();
    int matches = 0;
    for (int row = 0; row < ADOQuery1.recordCount(); ++row) {
        if (accesscontrol::PasswordMatches(ADOQuery1.valueAt(row, 0).toString(), text)) {
            ++matches;
        }
    }
    ADOQuery1.close();
    ADOConnection1.close();
    return matches;
}

void TForm165::RefuseAttempt(const QString& message) {
    app().ExitMarker = kExitRequested;
    widgets::ShowNotice(this, message);
    Edit3->clear();
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
