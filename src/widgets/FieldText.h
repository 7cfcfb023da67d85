#pragma once

#include <QString>
#include <QVariant>
#include <optional>

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
// nullptr for kinds that accept any text. In an amount a "." typed while the
// text holds no decimal comma is taken as the comma: the amount the person
// meant, never one a hundred times larger.
QValidator* KeystrokeValidator(const store::FieldInfo& field, QObject* parent);

// What a refused keystroke tells the person at the box; empty where the
// refusal needs no words.
QString RefusedKeystrokeHint(const store::FieldInfo& field);

// A pasted or dropped amount read by the Greek convention: points group the
// thousands and the comma marks the decimals ("1.234,56"); a single point
// that groups no thousands is the decimal comma ("12.50"). Gives the amount
// as it is typed ("1234,56"), nothing when the text is not one amount.
std::optional<QString> ReadPastedAmount(const QString& text);

// The message that refuses a pasted text that is not one amount, naming it.
QString UnreadableAmountMessage(const QString& text);

}  // namespace widgets
