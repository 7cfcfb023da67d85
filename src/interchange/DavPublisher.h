#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QPair>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "interchange/InterchangeRecords.h"
#include "interchange/SyncState.h"

namespace interchange {

// One item of a collection: its UID and its whole text, one VCALENDAR or
// one VCARD.
struct DavItem {
    QString uid;
    QByteArray text;
};

enum class CollectionKind { Calendar, AddressBook };

// What one publication did, for the line the command ends with.
struct PublishCounts {
    int created = 0;
    int updated = 0;
    int unchanged = 0;
    int deleted = 0;
    // Items changed or removed on the server since this side last wrote
    // them: left as the server has them.
    QStringList conflicts;
    // Items the server would not take, with its reason.
    QStringList refused;
};

struct DavResponse {
    int status = 0;
    QByteArray body;
    QByteArray etag;
};

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

// Requests to one server as one user, each waited for; a server that does
// not answer ends the wait after a time-out. The password is kept in memory
// for the session only. An https server must show a certificate the system
// trusts or one signed by `authorities`; there is no way to skip the check.
class DavSession {
public:
    DavSession(const QString& user, const QString& password,
               const QList<QSslCertificate>& authorities = {});

    // Throws SyncError when no answer comes or the server refuses the user.
    DavResponse send(const QByteArray& method, const QUrl& url, const HttpHeaders& headers = {},
                     const QByteArray& body = {});

private:
    QNetworkAccessManager manager_;
    QSslConfiguration tls_;
    QString user_;
    QByteArray authorization_;
};

// Brings the collection to the items: it is made when absent, new items are
// created, changed ones replaced only while the server still holds what this
// side put there (If-Match on the ETag), and those removed here are deleted
// under the same condition. `published` is this side's record of the
// collection, kept up to date item by item. progress counts the items.
PublishCounts Publish(DavSession& session, const QUrl& collection, CollectionKind kind,
                      const QList<DavItem>& items, QHash<QString, PublishedItem>& published,
                      const Progress& progress = {});

}  // namespace interchange
