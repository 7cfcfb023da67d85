#pragma once

#include <QSize>
#include <functional>
#include <stdexcept>

// The windows are laid out for this screen size.
inline constexpr QSize kDesignedScreenSize(1024, 768);

// The display as the resolution check sees it. Tests replace both members;
// an empty member falls back to the system's own.
struct DisplayAccess {
    // The primary screen's size in pixels.
    std::function<QSize()> screenSize;
    // Switches the primary display to the size; false when that did not happen.
    std::function<bool(int width, int height)> switchMode;
};
void SetDisplayAccess(DisplayAccess access);

// A display mode that could not be set.
class DisplayModeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Offers to switch a screen of another size to 1024 x 768. After a switch,
// ExitMarker asks start-up to stop so that the user starts again in the new
// mode; every error is shown here and start-up goes on.
void CheckScreenResolution();

// Switches the primary display to width x height. Throws DisplayModeError
// for a negative size and when the switch did not happen (no X11 display,
// XRandR refused the mode).
void SetScreenResolution(int width, int height);
