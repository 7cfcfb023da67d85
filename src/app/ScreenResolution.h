#pragma once

#include <QSize>
#include <functional>
#include <stdexcept>

// The windows are laid out for this screen size.
inline constexpr QSize kDesignedScreenSize(1024, 768);

// The primary screen as Qt reports it: its size in device-independent
// pixels and how many physical pixels one of them covers.
struct ScreenGeometry {
    QSize size;
    qreal devicePixelRatio = 1.0;
};

// Whether the screen has 1024 x 768 physical pixels. Qt rounds the
// device-independent size to whole pixels, so at a fractional ratio the
// physical size is known to within half a device-independent pixel.
bool HasDesignedSize(const ScreenGeometry& screen);

// The display as the resolution check sees it. Tests replace both members;
// an empty member falls back to the system's own.
struct DisplayAccess {
    // The primary screen.
    std::function<ScreenGeometry()> screen;
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
// XRandR refused the mode or did not answer within a few seconds). The
// switch lasts for the desktop session; the program never switches back.
void SetScreenResolution(int width, int height);
