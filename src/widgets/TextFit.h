#pragma once

class QString;
class QWidget;

namespace widgets {

// The windows were sized for a narrower face than the one they are drawn
// in: a text that would be clipped gets the widget's font made smaller in
// half-point steps, down to 6 points, until it fits in width pixels.
void ShrinkFontToFit(QWidget* widget, const QString& text, int width);

}  // namespace widgets
