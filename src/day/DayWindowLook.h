#pragma once

#include <QString>

class QLabel;
class QWidget;

// What the two day windows share: the frame and the look of the day caption.
namespace daywindow {

// 982 x 689, close box only, centred, cream, Tahoma 11 px.
void ApplyFrame(QWidget* window);

// Label83: the day text in the day blue on white, Tahoma 15 px.
void ApplyDayCaptionLook(QLabel* caption);

// Gives the caption its text and fits the label to it.
void SetDayCaption(QLabel* caption, const QString& dayText);

}  // namespace daywindow
