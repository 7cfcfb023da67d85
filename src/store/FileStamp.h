#pragma once

#include <QString>
#include <optional>

namespace store {

// What the file system tells of a file without reading it: which file it is
// and when and how it last changed. Any write or truncation of the file
// changes its change time, which no program can set back.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file now; none when it cannot be read.
std::optional<FileStamp> StampOf(const QString& path);

// A stamp that any later change of the file is sure to alter: one taken
// after the file system's clock has moved past the file's last change, as a
// change within the same tick of that clock would get the same time. Waits a
// tick at most when the file has just changed. None when that cannot be had:
// a file system that keeps times to the millisecond or coarser, a change
// time ahead of the clock, or a file that keeps changing.
std::optional<FileStamp> SettledStampOf(const QString& path);

}  // namespace store
