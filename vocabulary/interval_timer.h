#pragma once
// The timer of automatic reading as the logic drives it: start with an interval, stop, ask; and
// the same over a Qt timer. The ticks themselves reach the window's handler.

#include <QTimer>

namespace quorvella {

class IntervalTimer {
public:
    virtual ~IntervalTimer() = default;
    // Starts (or starts again) the timer: the next tick falls one interval from now.
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
};

// The interval timer behind a window's Qt timer, whose timeout is the window's tick handler.
class QtIntervalTimer final : public IntervalTimer {
public:
    explicit QtIntervalTimer(QTimer& timer) : m_timer(timer) {}
    void start(int milliseconds) override { m_timer.start(milliseconds); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    int interval() const override { return m_timer.interval(); }

private:
    QTimer& m_timer;
};

} // namespace quorvella
