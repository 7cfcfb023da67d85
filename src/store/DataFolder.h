#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// The folder a user's data lives in: data.mdb and the report layouts. The
// program works in it, so that AppDirectory is this folder.
inline const QString kDataFolderVariable = QStringLiteral("KAVELO_DATA_DIR");
inline const QString kDefaultDataFolderName = QStringLiteral("KaveloOrganizer");

// The folder named on the command line wins, then the environment variable,
// then ~/KaveloOrganizer. An empty name counts as not given.
QString ChooseDataFolder(const QString& commandLineFolder, const QString& environmentFolder,
                         const QString& homeFolder);

// Where the shipped empty data.mdb and the layouts are found: beside the
// program's bin/ folder, in share/kavelo-organizer. The build tree has the
// same layout, so a built program finds its own files.
QString ShippedFilesFolder(const QString& programFolder);

// A data folder that could not be made ready; the text names the path.
class DataFolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates the folder when missing (readable by its owner only), copies the
// shipped empty data.mdb (mode 600) and every shipped *.RAV layout that is
// absent. An existing file is never replaced. Throws DataFolderError.
void PrepareDataFolder(const QString& folder, const QString& shippedFolder);

}  // namespace store
