#include "interchange/DavPublisher.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSet>
#include <QSslError>

#include "interchange/SyncError.h"

namespace interchange {
namespace {

// Long enough for a slow server over a slow line; a server that says
// nothing for this long is reported as not answering.
constexpr int kTransferTimeoutMs = 30000;

constexpr int kMultiStatus = 207;
constexpr int kUnauthorized = 401;
constexpr int kNotFound = 404;
constexpr int kPreconditionFailed = 412;

const QByteArray kAddressBookBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<D:mkcol xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">"
    "<D:set><D:prop><D:resourcetype><D:collection/><C:addressbook/></D:resourcetype>"
    "</D:prop></D:set></D:mkcol>";

bool Succeeded(int status) {
    return status >= 200 && status < 300;
}

QByteArray Digest(const QByteArray& text) {
    return QCryptographicHash::hash(text, QCryptographicHash::Sha256);
}

QByteArray ContentType(CollectionKind kind) {
    return kind == CollectionKind::Calendar ? "text/calendar; charset=utf-8"
                                            : "text/vcard; charset=utf-8";
}

// The UID, which may hold any character, becomes one path segment.
QString ItemHref(const QUrl& collection, const QString& uid, CollectionKind kind) {
    const QString extension = kind == CollectionKind::Calendar ? ".ics" : ".vcf";
    return collection.toString(QUrl::StripTrailingSlash) + QLatin1Char('/') +
           QString::fromLatin1(QUrl::toPercentEncoding(uid)) + extension;
}

[[noreturn]] void ThrowUnexpected(const QByteArray& method, const QUrl& url,
                                  const DavResponse& response) {
    throw SyncError(QStringLiteral("the server answered %1 to %2 %3")
                        .arg(response.status)
                        .arg(QString::fromLatin1(method), url.toString()));
}

void EnsureCollection(DavSession& session, const QUrl& collection, CollectionKind kind) {
    const DavResponse found = session.send("PROPFIND", collection, {{"Depth", "0"}});
    if (found.status == kMultiStatus) {
        return;
    }
    if (found.status != kNotFound) {
        ThrowUnexpected("PROPFIND", collection, found);
    }
    const DavResponse made =
        kind == CollectionKind::Calendar
            ? session.send("MKCALENDAR", collection)
            : session.send("MKCOL", collection,
                           {{"Content-Type", "application/xml; charset=utf-8"}}, kAddressBookBody);
    if (!Succeeded(made.status)) {
        ThrowUnexpected(kind == CollectionKind::Calendar ? "MKCALENDAR" : "MKCOL", collection,
                        made);
    }
}

// The server gives the ETag with the answer to the upload as a rule; when it
// does not, it is read from the item itself.
QByteArray EtagAfterUpload(DavSession& session, const QUrl& href, const DavResponse& put) {
    if (!put.etag.isEmpty()) {
        return put.etag;
    }
    return session.send("GET", href).etag;
}

class Publication {
public:
    Publication(DavSession& session, const QUrl& collection, CollectionKind kind,
                QHash<QString, PublishedItem>& published)
        : session_(session), collection_(collection), kind_(kind), published_(published) {}

    void upload(const DavItem& item) {
        const auto known = published_.constFind(item.uid);
        if (known == published_.constEnd()) {
            create(item);
        } else if (known->digest == Digest(item.text)) {
            ++counts_.unchanged;
        } else {
            replace(item, *known);
        }
    }

    void removeAllBut(const QSet<QString>& kept) {
        const QStringList uids = published_.keys();
        for (const QString& uid : uids) {
            if (!kept.contains(uid)) {
                remove(uid, published_.value(uid));
            }
        }
    }

    PublishCounts counts() const { return counts_; }

private:
    DavResponse put(const DavItem& item, const QUrl& href, const HttpHeaders& condition) {
        HttpHeaders headers = condition;
        headers.append({"Content-Type", ContentType(kind_)});
        return session_.send("PUT", href, headers, item.text);
    }

    void record(const DavItem& item, const QUrl& href, const QByteArray& etag) {
        published_.insert(
            item.uid, PublishedItem{href.toString(), QString::fromLatin1(etag), Digest(item.text)});
    }

    // Never over an item of the same name that the server holds already,
    // unless it is this very text (a state file lost since the last time).
    void create(const DavItem& item) {
        const QUrl href(ItemHref(collection_, item.uid, kind_));
        const DavResponse response = put(item, href, {{"If-None-Match", "*"}});
        if (Succeeded(response.status)) {
            record(item, href, EtagAfterUpload(session_, href, response));
            ++counts_.created;
        } else if (response.status == kPreconditionFailed) {
            adoptOrConflict(item, href);
        } else {
            refuse(item.uid, response);
        }
    }

    void adoptOrConflict(const DavItem& item, const QUrl& href) {
        const DavResponse held = session_.send("GET", href);
        if (Succeeded(held.status) && held.body == item.text) {
            record(item, href, held.etag);
            ++counts_.unchanged;
        } else {
            counts_.conflicts.append(item.uid);
        }
    }

    void replace(const DavItem& item, const PublishedItem& known) {
        const QUrl href(known.href);
        const DavResponse response = put(item, href, {{"If-Match", known.etag.toLatin1()}});
        if (Succeeded(response.status)) {
            record(item, href, EtagAfterUpload(session_, href, response));
            ++counts_.updated;
        } else if (response.status == kPreconditionFailed) {
            counts_.conflicts.append(item.uid);
        } else {
            refuse(item.uid, response);
        }
    }

    void remove(const QString& uid, const PublishedItem& known) {
        const QUrl href(known.href);
        const DavResponse response =
            session_.send("DELETE", href, {{"If-Match", known.etag.toLatin1()}});
        if (Succeeded(response.status) || response.status == kNotFound) {
            published_.remove(uid);
            ++counts_.deleted;
        } else if (response.status == kPreconditionFailed) {
            counts_.conflicts.append(uid);
        } else {
            refuse(uid, response);
        }
    }

    void refuse(const QString& uid, const DavResponse& response) {
        counts_.refused.append(QStringLiteral("%1 (%2)").arg(uid).arg(response.status));
    }

    DavSession& session_;
    const QUrl collection_;
    const CollectionKind kind_;
    QHash<QString, PublishedItem>& published_;
    PublishCounts counts_;
};

}  // namespace

DavSession::DavSession(const QString& user, const QString& password,
                       const QList<QSslCertificate>& authorities)
    : tls_(QSslConfiguration::defaultConfiguration()),
      user_(user),
      authorization_("Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64()) {
    tls_.addCaCertificates(authorities);
}

DavResponse DavSession::send(const QByteArray& method, const QUrl& url, const HttpHeaders& headers,
                             const QByteArray& body) {
    QNetworkRequest request(url);
    request.setSslConfiguration(tls_);
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setRawHeader("Authorization", authorization_);
    for (const auto& [name, value] : headers) {
        request.setRawHeader(name, value);
    }
    QNetworkReply* reply = manager_.sendCustomRequest(request, method, body);
    QStringList certificateProblems;
    QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                     [&certificateProblems](const QList<QSslError>& errors) {
                         for (const QSslError& error : errors) {
                             certificateProblems.append(error.errorString());
                         }
                     });
    QEventLoop wait;
    QObject::connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
    wait.exec();
    reply->deleteLater();

    DavResponse response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString server = url.adjusted(QUrl::RemovePath | QUrl::RemoveUserInfo).toString();
    if (response.status == 0 && !certificateProblems.isEmpty()) {
        throw SyncError(QStringLiteral("the certificate of %1 is not trusted: %2 (a server with "
                                       "a certificate of its own: give it with --ca-file)")
                            .arg(server, certificateProblems.join(QStringLiteral("; "))));
    }
    if (response.status == 0) {
        throw SyncError(QStringLiteral("%1 does not answer: %2").arg(server, reply->errorString()));
    }
    if (response.status == kUnauthorized) {
        throw SyncError(
            QStringLiteral("the server refuses the user '%1' with this password").arg(user_));
    }
    response.body = reply->readAll();
    response.etag = reply->rawHeader("ETag");
    return response;
}

PublishCounts Publish(DavSession& session, const QUrl& collection, CollectionKind kind,
                      const QList<DavItem>& items, QHash<QString, PublishedItem>& published,
                      const Progress& progress) {
    EnsureCollection(session, collection, kind);
    Publication publication(session, collection, kind, published);
    QSet<QString> uids;
    qint64 done = 0;
    for (const DavItem& item : items) {
        publication.upload(item);
        uids.insert(item.uid);
        // Every item: each is a request to the server, slow beside the line.
        if (progress) {
            progress(++done, items.size());
        }
    }
    publication.removeAllBut(uids);
    return publication.counts();
}

}  // namespace interchange
