#pragma once

#include <QString>
#include <stdexcept>

namespace reports {

// Every failure of a report run reaches its caller as this exception; the
// text names the file concerned by its full path and what is wrong with it.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

}  // namespace reports
