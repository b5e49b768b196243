#pragma once
// The timer of automatic reading as the logic drives it: start with an interval, stop, ask. The
// ticks themselves reach the window's handler; the Qt timer behind it is the view's.

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

} // namespace quorvella
