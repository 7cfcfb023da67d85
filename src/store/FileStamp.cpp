#include "store/FileStamp.h"

#include <sys/stat.h>

#include <QFile>
#include <ctime>

namespace store {
namespace {

constexpr qint64 kNsPerSecond = 1000000000;
constexpr qint64 kNsPerMillisecond = 1000000;
// A change time further ahead of the clock than this comes from a clock set
// back, not from the tick in progress.
constexpr qint64 kLongestTickNs = 20 * kNsPerMillisecond;
constexpr qint64 kClockPollNs = kNsPerMillisecond / 4;
constexpr int kSettleAttempts = 3;

qint64 Nanoseconds(const timespec& time) {
    return qint64(time.tv_sec) * kNsPerSecond + time.tv_nsec;
}

// The clock the kernel stamps file times with, read without its fine part.
qint64 FileClockNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return Nanoseconds(now);
}

// Never longer than kLongestTickNs: the caller has checked how far ahead
// the time is.
void WaitForFileClockPast(qint64 timeNs) {
    const timespec pause{0, long(kClockPollNs)};
    while (FileClockNs() <= timeNs) {
        nanosleep(&pause, nullptr);
    }
}

}  // namespace

std::optional<FileStamp> StampOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    return FileStamp{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
                     Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

std::optional<FileStamp> SettledStampOf(const QString& path) {
    for (int attempt = 0; attempt < kSettleAttempts; ++attempt) {
        const qint64 clockBefore = FileClockNs();
        const std::optional<FileStamp> stamp = StampOf(path);
        if (!stamp || stamp->changedNs % kNsPerMillisecond == 0) {
            return std::nullopt;
        }
        // Every later change gets a time at or past clockBefore.
        const qint64 ahead = stamp->changedNs - clockBefore;
        if (ahead < 0) {
            return stamp;
        }
        if (ahead > kLongestTickNs) {
            return std::nullopt;
        }
        // Another change may come before the clock moves on: the file is
        // looked at again.
        WaitForFileClockPast(stamp->changedNs);
    }
    return std::nullopt;
}

}  // namespace store
