#include "store/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "store/ConnectionString.h"

namespace store {
namespace {

constexpr QFile::Permissions kOwnerOnlyFolder =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kOwnerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;
// Layouts are the user's to edit, whatever the shipped copy's mode.
constexpr QFile::Permissions kEditableFile =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;

[[noreturn]] void Fail(const QString& what, const QString& path) {
    throw DataFolderError(
        QStringLiteral("%1: %2").arg(what, QDir::toNativeSeparators(path)).toStdString());
}

void CreateFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isDir()) {
        return;
    }
    if (info.exists() || !QDir().mkpath(folder)) {
        Fail(QStringLiteral("cannot create the data folder"), folder);
    }
    QFile::setPermissions(folder, kOwnerOnlyFolder);
}

// A dangling link counts as present: copying through it would write
// wherever it points.
bool Present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// QFile::copy writes a temporary file and renames it, and never replaces an
// existing file, so a copy that fails leaves nothing half-written behind.
void CopyWhenAbsent(const QString& source, const QString& target, QFile::Permissions permissions) {
    if (Present(target)) {
        return;
    }
    if (!QFile::copy(source, target)) {
        Fail(QStringLiteral("cannot copy %1 into the data folder")
                 .arg(QDir::toNativeSeparators(source)),
             target);
    }
    if (!QFile::setPermissions(target, permissions)) {
        Fail(QStringLiteral("cannot restrict the permissions of"), target);
    }
}

}  // namespace

QString ChooseDataFolder(const QString& commandLineFolder, const QString& environmentFolder,
                         const QString& homeFolder) {
    if (!commandLineFolder.isEmpty()) {
        return QDir::cleanPath(commandLineFolder);
    }
    if (!environmentFolder.isEmpty()) {
        return QDir::cleanPath(environmentFolder);
    }
    return QDir(homeFolder).filePath(kDefaultDataFolderName);
}

QString ShippedFilesFolder(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/kavelo-organizer"));
}

void PrepareDataFolder(const QString& folder, const QString& shippedFolder) {
    const QDir shipped(shippedFolder);
    const QString shippedDatabase = shipped.filePath(kDatabaseFileName);
    if (!QFileInfo(shippedDatabase).isFile()) {
        Fail(QStringLiteral("the empty database is missing"), shippedDatabase);
    }
    CreateFolder(folder);
    const QDir target(folder);
    CopyWhenAbsent(shippedDatabase, target.filePath(kDatabaseFileName), kOwnerOnlyFile);
    for (const QString& layout : shipped.entryList({QStringLiteral("*.RAV")}, QDir::Files)) {
        CopyWhenAbsent(shipped.filePath(layout), target.filePath(layout), kEditableFile);
    }
}

}  // namespace store
