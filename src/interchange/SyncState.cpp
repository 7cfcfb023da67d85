#include "interchange/SyncState.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "interchange/SyncError.h"

namespace interchange {
namespace {

const QString kHref = QStringLiteral("href");
const QString kEtag = QStringLiteral("etag");
const QString kDigest = QStringLiteral("sha256");

QJsonObject ItemObject(const PublishedItem& item) {
    return QJsonObject{{kHref, item.href},
                       {kEtag, item.etag},
                       {kDigest, QString::fromLatin1(item.digest.toHex())}};
}

PublishedItem ItemFrom(const QJsonObject& object) {
    return PublishedItem{object.value(kHref).toString(), object.value(kEtag).toString(),
                         QByteArray::fromHex(object.value(kDigest).toString().toLatin1())};
}

}  // namespace

SyncState SyncState::Load(const QString& path) {
    SyncState state;
    QFile file(path);
    if (!file.exists()) {
        return state;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw SyncError(
            QStringLiteral("cannot read the sync state '%1': %2").arg(path, file.errorString()));
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        throw SyncError(
            QStringLiteral("the sync state '%1' is damaged: %2").arg(path, error.errorString()));
    }
    const QJsonObject collections = document.object();
    for (auto collection = collections.begin(); collection != collections.end(); ++collection) {
        const QJsonObject items = collection.value().toObject();
        QHash<QString, PublishedItem>& published = state.collections_[collection.key()];
        for (auto item = items.begin(); item != items.end(); ++item) {
            published.insert(item.key(), ItemFrom(item.value().toObject()));
        }
    }
    return state;
}

void SyncState::save(const QString& path) const {
    QJsonObject collections;
    for (auto collection = collections_.begin(); collection != collections_.end(); ++collection) {
        QJsonObject items;
        for (auto item = collection->begin(); item != collection->end(); ++item) {
            items.insert(item.key(), ItemObject(item.value()));
        }
        collections.insert(collection.key(), items);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(collections).toJson()) < 0 ||
        !file.commit()) {
        throw SyncError(
            QStringLiteral("cannot write the sync state '%1': %2").arg(path, file.errorString()));
    }
}

QString SyncStatePath(const QString& dataFolder) {
    return dataFolder + QStringLiteral("/sync-state.json");
}

}  // namespace interchange
