#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// The pieces the login and password windows share.
namespace accesscontrol {

inline const QString kCaseWarning = QStringLiteral("Προσοχή. Έχoυν σημασία τα Πεζά / Κεφαλαία");
inline const QString kErrorText = QStringLiteral("Παρουσιάστηκε σφάλμα.");

// A modal window with a title but no title-bar buttons at all.
void RemoveTitleBarButtons(QWidget* window);

// The red warning that letter case matters.
QLabel* MakeCaseWarning(QWidget* parent, const QString& name);
// A one-line edit that shows every character as "*".
QLineEdit* MakePasswordEdit(QWidget* parent, const QString& name);
// The red "*" that marks a field as mandatory.
QLabel* MakeMandatoryMark(QWidget* parent, const QString& name, bool bold);

}  // namespace accesscontrol
