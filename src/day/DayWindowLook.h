#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// What the two day windows share: the frame, the day caption and the exit
// button.
namespace daywindow {

// 982 x 689, close box only, centred, cream, Tahoma 11 px.
void ApplyFrame(QWidget* window);

// Label83: the day text, blue on white, at (450, 14).
QLabel* MakeDayCaption(QWidget* window);

// Gives the caption its text and fits the label to it.
void SetDayCaption(QLabel* caption, const QString& dayText);

// Button29, "Έ&ξοδος", at (8, 648); Escape presses it.
QPushButton* MakeExitButton(QWidget* window);

}  // namespace daywindow
