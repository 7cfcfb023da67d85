#pragma once

#include <QString>

// True when the text holds none of the 31 characters that typed text must
// not carry into a statement; the empty text passes.
bool IsCleanInputText(const QString& text);

// Removes every character of code 0x20 or lower from both ends; inner
// blanks stay.
QString TrimInputText(const QString& text);
