#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// Every failure of the data store reaches its caller as this exception; the
// text names the problem in the engine's words.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

}  // namespace store
