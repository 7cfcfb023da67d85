#pragma once

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

class QDialog;
class QPushButton;
class QWidget;

namespace widgets {

// The application's colours, named once.
// Cream, the background of most windows.
inline const QColor kCream(255, 251, 240);
// Marks of required fields, sums and warnings.
inline const QColor kMarkRed(255, 0, 0);
// The day caption and the calendar's lists.
inline const QColor kDayBlue(0, 0, 255);

// Tahoma has no Greek letters, and a line that mixes two faces looks broken,
// so "Tahoma" is drawn with one face that covers Greek. Call once per run.
void InstallFontSubstitutions();

// Tahoma at a point size (8 is the windows' text).
QFont TahomaPoints(int points = 8);
// Tahoma with a character height in pixels, as window layouts give sizes.
QFont TahomaPixels(int pixels, bool bold = false);

// The frame every window shares: fixed client size, fixed border with only
// a close box (plus minimise where asked), the given background, Tahoma 8.
void ApplyWindowConventions(QWidget* window, QSize clientSize, bool minimizeBox = false,
                            const QColor& background = kCream);

void CenterOnScreen(QWidget* window);

// Controls of a form take their look from the dynamic property "role":
//   "mandatory"  the red bold mark beside a field the database may require
//   "value"      a red bold value (sums; the window calls adjustSize on it)
//   "heading"    a bold label
//   "accent"     red text at the label's own weight (warnings, results)
// Forms call it once after setupUi, so that no form repeats colours or fonts.
void ApplyControlRoles(QWidget* window);

// The red bold "*" (or other text) beside a field, for windows built in code.
class QLabel* MakeMandatoryMark(QWidget* parent, const QString& name,
                                const QString& text = QStringLiteral("*"));

// The window's exit button: Escape presses it, Enter in a field never does,
// and a click closes the window.
void UseAsExitButton(QWidget* window, QPushButton* button);

// Escape presses this button, whatever it does (not just closing).
void SetCancelButton(QWidget* window, QPushButton* button);
// Enter presses this button.
void SetDefaultButton(QPushButton* button);

}  // namespace widgets
