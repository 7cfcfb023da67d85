#pragma once

#include <QString>

class QWidget;

// The pieces the login and password windows share.
namespace accesscontrol {

inline const QString kErrorText = QStringLiteral("Παρουσιάστηκε σφάλμα.");

// A modal window with a title but no title-bar buttons at all.
void RemoveTitleBarButtons(QWidget* window);

}  // namespace accesscontrol
