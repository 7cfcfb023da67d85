#pragma once

#include <QGuiApplication>

namespace reports {

// Shows the wait cursor while it lives, and restores the cursor however the
// scope is left, exceptions included.
class BusyCursor {
public:
    BusyCursor() : active_(qGuiApp != nullptr) {
        if (active_) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    ~BusyCursor() {
        if (active_) {
            QGuiApplication::restoreOverrideCursor();
        }
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool active_;
};

}  // namespace reports
