#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// Every failure of the data store reaches its caller as this exception. A
// statement the engine refuses carries the engine's own words; a file that
// cannot be used (full disk, locked, read-only, damaged) carries the
// program's Greek message naming the problem and the file.
class DatabaseError : public std::runtime_error {
public:
    enum class Kind {
        Statement,       // refused by the engine: syntax, type, missing table
        RowRefused,      // a key or NOT NULL constraint refused the row
        FileUnwritable,  // the file or its disk cannot take a write now
        FileDamaged,     // the file's content is not a sound database
    };

    explicit DatabaseError(const QString& message, Kind kind = Kind::Statement)
        : std::runtime_error(message.toStdString()), message_(message), kind_(kind) {}
    const QString& message() const { return message_; }
    Kind kind() const { return kind_; }
    // The file, not the statement, is at fault: a retry of the same
    // statement cannot succeed until the user deals with the file.
    bool isFileFault() const { return kind_ == Kind::FileUnwritable || kind_ == Kind::FileDamaged; }

private:
    QString message_;
    Kind kind_;
};

}  // namespace store
