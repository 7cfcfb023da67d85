#pragma once

#include <QDialog>
#include <memory>

#include "store/Connection.h"

namespace Ui {
class PasswordForm;
}

// What the set-password and change-password windows share: the password
// typed twice, the save button enabled only while both entries agree, and
// the save, which stores the password's hash. The windows differ in the
// statement that stores it and in the way out.
class PasswordForm : public QDialog {
    Q_OBJECT

public:
    ~PasswordForm() override;

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

    std::unique_ptr<Ui::PasswordForm> ui;
    store::Connection ADOConnection1;
};
