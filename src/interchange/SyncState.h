#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace interchange {

// What this side knows of one item it published: where it lives on the
// server, the server's ETag after the last upload, and a digest of the text
// uploaded, so that an unchanged item is not sent again.
struct PublishedItem {
    QString href;
    QString etag;
    QByteArray digest;
};

// The items published to each collection, by UID. It lives in a small JSON
// file beside data.mdb, never in the database, whose tables stay as they
// are; it holds no password.
class SyncState {
public:
    // A missing file is an empty state; an unreadable one throws SyncError,
    // since starting from nothing would delete or duplicate on the server.
    static SyncState Load(const QString& path);
    // Written whole to a temporary file and renamed, so that a crash leaves
    // the previous state. Throws SyncError.
    void save(const QString& path) const;

    QHash<QString, PublishedItem>& collection(const QString& url) { return collections_[url]; }

private:
    QHash<QString, QHash<QString, PublishedItem>> collections_;
};

// The state file of a data folder.
QString SyncStatePath(const QString& dataFolder);

}  // namespace interchange
