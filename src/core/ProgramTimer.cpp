#include "core/ProgramTimer.h"

#include <QList>

namespace {

ManualClock*& CurrentManualClock() {
    static ManualClock* clock = nullptr;
    return clock;
}

// The timers running on the manual clock.
QList<ProgramTimer*>& ManualTimers() {
    static QList<ProgramTimer*> timers;
    return timers;
}

}  // namespace

ProgramTimer::ProgramTimer(QObject* parent) : QObject(parent) {
    connect(&realTimer_, &QTimer::timeout, this, &ProgramTimer::timeout);
}

ProgramTimer::~ProgramTimer() {
    ManualTimers().removeOne(this);
}

void ProgramTimer::setInterval(int milliseconds) {
    realTimer_.setInterval(milliseconds);
}

int ProgramTimer::interval() const {
    return realTimer_.interval();
}

void ProgramTimer::start() {
    stop();
    if (CurrentManualClock() == nullptr) {
        realTimer_.start();
        return;
    }
    manualDue_ = CurrentManualClock()->now_ + interval();
    ManualTimers().append(this);
}

void ProgramTimer::stop() {
    realTimer_.stop();
    manualDue_.reset();
    ManualTimers().removeOne(this);
}

bool ProgramTimer::isActive() const {
    return realTimer_.isActive() || manualDue_.has_value();
}

ManualClock::ManualClock() {
    Q_ASSERT(CurrentManualClock() == nullptr);
    CurrentManualClock() = this;
}

ManualClock::~ManualClock() {
    for (ProgramTimer* timer : ManualTimers()) {
        timer->manualDue_.reset();
    }
    ManualTimers().clear();
    CurrentManualClock() = nullptr;
}

void ManualClock::advance(int milliseconds) {
    const qint64 target = now_ + milliseconds;
    // A handler may stop, restart or destroy any timer: the next one due is
    // looked up afresh after each.
    for (;;) {
        ProgramTimer* next = nullptr;
        for (ProgramTimer* timer : ManualTimers()) {
            if (*timer->manualDue_ <= target &&
                (next == nullptr || *timer->manualDue_ < *next->manualDue_)) {
                next = timer;
            }
        }
        if (next == nullptr) {
            break;
        }
        now_ = *next->manualDue_;
        // A timer of no interval would fire forever within one advance.
        next->manualDue_ = now_ + qMax(1, next->interval());
        emit next->timeout();
    }
    now_ = target;
}
