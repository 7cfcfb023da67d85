#pragma once

#include <QString>
#include <stdexcept>

namespace interchange {

// A publication that cannot go on: the server unreachable or refusing, the
// state file unreadable. The text names the problem for the user.
class SyncError : public std::runtime_error {
public:
    explicit SyncError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

}  // namespace interchange
