#pragma once

#include <QDialog>

#include "store/Connection.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the set-password and change-password windows share: the password
// typed twice, the save button enabled only while both entries agree, and
// the save, which stores the password's hash. The windows differ in the
// statement that stores it and in the way out.
class PasswordForm : public QDialog {
    Q_OBJECT

public:
    QGroupBox* GroupBox1;
    QLabel* Label5;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLabel* Label4;
    QLineEdit* Edit2;
    QLabel* Label3;
    QPushButton* Button1;

    void FormCreate();
    void Edit1Change();
    void Edit2Change();
    void UpdateSaveButton();
    void Button1Click();
    void FormClose();

    void done(int result) override;

protected:
    PasswordForm(const QString& className, const QString& caption, const QString& firstLabel,
                 int clientHeight, QWidget* parent);

    // Runs the statement that stores the hash, on the open connection.
    virtual void StorePasswordHash(store::Connection& connection, const QString& hash) = 0;

private:
    void SavePassword(const QString& password);

    store::Connection ADOConnection1;
};
