#pragma once

#include <QColor>
#include <QFont>
#include <QSize>

class QDialog;
class QPushButton;
class QWidget;

namespace widgets {

// Cream, the background of most windows.
inline const QColor kCream(255, 251, 240);

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

// Escape presses this button, whatever it does (not just closing).
void SetCancelButton(QWidget* window, QPushButton* button);
// Enter presses this button.
void SetDefaultButton(QPushButton* button);

}  // namespace widgets
