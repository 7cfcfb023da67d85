#pragma once

#include "access/PasswordForm.h"

// The set-password window of the first start: it stores the first login
// password. Only a successful save (or the platform's close command) ends it.
class TForm17 : public PasswordForm {
    Q_OBJECT

public:
    explicit TForm17(QWidget* parent = nullptr);

protected:
    void StorePasswordHash(store::Connection& connection, const QString& hash) override;
    // No way out but a save: Escape does nothing here.
    void keyPressEvent(QKeyEvent* event) override;
};
