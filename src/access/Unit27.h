#pragma once

#include <memory>

#include "access/PasswordForm.h"

namespace Ui {
class TForm27;
}

// The change-password window, opened from the main window after login: the
// new password replaces the one in every row. The current password is not
// asked for. The opener creates it, runs exec() and destroys it.
class TForm27 : public PasswordForm {
    Q_OBJECT

public:
    explicit TForm27(QWidget* parent = nullptr);
    ~TForm27() override;

    void Button2Click();

protected:
    void StorePasswordHash(store::Connection& connection, const QString& hash) override;

private:
    std::unique_ptr<Ui::TForm27> ui;
};
