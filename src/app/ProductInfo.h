#pragma once

#include <QPixmap>
#include <QString>
#include <QUrl>
#include <functional>

// What the splash and about windows tell about the product and its maker,
// kept in one place. The maker's addresses and numbers are reserved example
// values: example.org/example.net domains and telephone numbers from ranges
// set aside for fiction.
namespace product {

inline const QString kMakerName = QStringLiteral("KAVELO SOFTWARE DEVELOPMENT");
inline const QString kProductName = QStringLiteral("KAVELO ORGANIZER");
inline const QString kVersionText = QStringLiteral("Version 1.0.0.2010");
inline const QString kWebsite = QStringLiteral("https://www.example.org/kavelo-organizer");
inline const QString kEmail = QStringLiteral("info@example.org");
inline const QString kPostalStreet = QStringLiteral("Οδός Υποδείγματος 12");
inline const QString kPostalTown = QStringLiteral("000 00 Αθήνα, Ελλάδα");
inline const QString kTelephone = QStringLiteral("+44 20 7946 0123 (Ηνωμένο Βασίλειο)");
inline const QString kMobile = QStringLiteral("+44 7700 900123 (Ηνωμένο Βασίλειο)");
inline const QString kSecondMobile = QStringLiteral("+44 7700 900456 (Ηνωμένο Βασίλειο)");
inline const QString kBadgePage = QStringLiteral("https://badges.example.net/kavelo");
inline const QString kRightsNotice = QStringLiteral("Copyright © 2010 KAVELO SOFTWARE DEVELOPMENT");

// The product picture (a calendar with the product name) and the maker's
// badge, both drawn for this program and built into it.
QPixmap ProductPicture();
QPixmap BadgePicture();

// Hands a web or mail address to the desktop's handler. Nothing is reported
// when no handler takes it.
void OpenAddress(const QUrl& address);
QUrl MailAddress(const QString& email);

// Tests see the addresses instead of starting a browser; an empty opener
// returns to the desktop's handler.
void SetAddressOpener(std::function<void(const QUrl&)> opener);

}  // namespace product
