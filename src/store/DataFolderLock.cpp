#include "store/DataFolderLock.h"

#include <QDir>
#include <QSysInfo>

namespace store {

DataFolderLock::DataFolderLock(const QString& folder)
    : file_(QDir(folder).filePath(kDataFolderLockName)) {
    // Held for a whole run: the lock never goes stale by its age, only when
    // its holder is gone.
    file_.setStaleLockTime(0);
    if (file_.tryLock(0) || (file_.error() == QLockFile::LockFailedError && takeOverLeftLock())) {
        state_ = State::Held;
        return;
    }
    state_ =
        file_.error() == QLockFile::LockFailedError ? State::HeldByAnother : State::Unavailable;
}

// Qt judges a left lock by the process number and program name written in
// it, and so cannot judge a file that a power cut left empty, nor a number
// that another organizer now runs under. On this machine the file's own
// system lock settles both: a running holder keeps it, so the removal fails
// for as long as the holder lives. A holder on another machine (a shared
// folder) cannot be judged from here and is respected.
bool DataFolderLock::takeOverLeftLock() {
    QString hostName;
    const bool recorded = file_.getLockInfo(nullptr, &hostName, nullptr);
    if (recorded && !hostName.isEmpty() && hostName != QSysInfo::machineHostName()) {
        return false;
    }
    return file_.removeStaleLockFile() && file_.tryLock(0);
}

}  // namespace store
