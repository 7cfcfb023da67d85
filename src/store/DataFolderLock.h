#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace store {

// One running program per data folder. Every window keeps its rows on the
// client side and writes a whole row back when it is posted, so two programs
// on one folder would overwrite each other's rows; the second one is refused
// instead.
inline const QString kDataFolderLockName = QStringLiteral("organizer.lock");

class DataFolderLock {
public:
    enum class State {
        // This program holds the folder until the object goes away.
        Held,
        // Another running program holds it.
        HeldByAnother,
        // No lock file can be made (a read-only folder, where no write can
        // happen either): the program goes on without one.
        Unavailable,
    };

    // Tries once, without waiting. A lock left by a program that no longer
    // runs (killed, crashed, a power cut while the file was being written)
    // is taken over.
    explicit DataFolderLock(const QString& folder);
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    State state() const { return state_; }
    QString lockFilePath() const { return file_.fileName(); }

private:
    bool takeOverLeftLock();

    QLockFile file_;
    State state_ = State::Unavailable;
};

}  // namespace store
