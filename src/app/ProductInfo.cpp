#include "app/ProductInfo.h"

#include <QDesktopServices>

// The pictures live in a static library: referencing its resources here
// keeps the linker from dropping them. (Not inside a namespace: the macro
// declares the resource's initialiser.)
static void LoadProductResources() {
    Q_INIT_RESOURCE(product);
}

namespace {

QPixmap ResourcePicture(const QString& path) {
    static const bool loaded = (LoadProductResources(), true);
    Q_UNUSED(loaded);
    return QPixmap(path);
}

std::function<void(const QUrl&)>& Opener() {
    static std::function<void(const QUrl&)> opener;
    return opener;
}

}  // namespace

namespace product {

QPixmap ProductPicture() {
    return ResourcePicture(QStringLiteral(":/product/product.jpg"));
}

QPixmap BadgePicture() {
    return ResourcePicture(QStringLiteral(":/product/badge.png"));
}

void OpenAddress(const QUrl& address) {
    if (Opener()) {
        Opener()(address);
        return;
    }
    QDesktopServices::openUrl(address);
}

QUrl MailAddress(const QString& email) {
    return QUrl(QStringLiteral("mailto:") + email);
}

void SetAddressOpener(std::function<void(const QUrl&)> opener) {
    Opener() = std::move(opener);
}

}  // namespace product
