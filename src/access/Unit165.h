#pragma once

#include <QDialog>
#include <memory>

#include "store/Connection.h"

namespace Ui {
class TForm165;
}

// The login window. It closes with ExitMarker holding "Administrator" only
// after a check accepted the password; every other way out leaves
// "exitexodos" behind. Attempts are unlimited.
class TForm165 : public QDialog {
    Q_OBJECT

public:
    explicit TForm165(QWidget* parent = nullptr);
    ~TForm165() override;

    void FormCreate();
    void Edit3Change();
    void UpdateLoginButton();
    void Button4Click();
    void CheckPassword(const QString& text);
    void Button2Click();
    void FormClose();

    void done(int result) override;

private:
    // Rows of ADMINISTRATOR_ACCOUNT whose hash verifies the text; the
    // connection is open only while they are read.
    int CountMatchingPasswords(const QString& text);
    void RefuseAttempt(const QString& message);

    std::unique_ptr<Ui::TForm165> ui;
    store::Connection ADOConnection1;
};
