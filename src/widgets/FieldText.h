#pragma once

#include <QString>
#include <QVariant>

#include "store/DataSet.h"

class QValidator;
class QObject;

namespace widgets {

// How a bound control and the grid show a stored value: NULL as empty,
// dates as day/month/year, amounts in cents with two decimals and the
// locale's decimal separator.
QString FieldDisplayText(const store::FieldInfo& field, const QVariant& value);

// The value typed text stands for; empty text is NULL. Throws
// store::DatabaseError when the text is not a value of the field's kind.
QVariant ParseFieldText(const store::FieldInfo& field, const QString& text);

// Text fields take every keystroke at once; dates and numbers only when the
// typed text is complete and parses.
bool TakesEveryKeystroke(const store::FieldInfo& field);

// Limits keystrokes to those that can form a number of the field's kind;
// nullptr for kinds that accept any text.
QValidator* KeystrokeValidator(const store::FieldInfo& field, QObject* parent);

}  // namespace widgets
