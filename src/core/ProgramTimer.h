#pragma once

#include <QObject>
#include <QTimer>
#include <optional>

// A timer of the program whose time a test can own. On the real clock it is
// a plain QTimer; started while a ManualClock exists, it runs on that clock
// instead and fires only when the test moves the clock past its interval, so
// that a duration is checked to the millisecond without waiting for it.
class ProgramTimer : public QObject {
    Q_OBJECT

public:
    explicit ProgramTimer(QObject* parent = nullptr);
    ~ProgramTimer() override;

    void setInterval(int milliseconds);
    int interval() const;
    // Starts the countdown afresh; it repeats until stopped, as a QTimer's.
    void start();
    void stop();
    bool isActive() const;

signals:
    void timeout();

private:
    friend class ManualClock;

    QTimer realTimer_;
    // The manual clock's time at which the timer fires; empty while it is
    // not running on that clock.
    std::optional<qint64> manualDue_;
};

// The clock of every ProgramTimer started while it exists; one at a time.
class ManualClock {
public:
    ManualClock();
    ~ManualClock();
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    // Moves the clock on, firing each timer that comes due on the way, in
    // the order they come due.
    void advance(int milliseconds);

private:
    friend class ProgramTimer;

    qint64 now_ = 0;
};
