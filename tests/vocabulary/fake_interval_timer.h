#pragma once
// An interval timer for logic tests: records starts and stops; ticks are the test's calls.

#include "vocabulary/interval_timer.h"

#include <QStringList>

namespace quorvella {

class FakeIntervalTimer final : public IntervalTimer {
public:
    void start(int milliseconds) override {
        m_interval = milliseconds;
        m_active = true;
        calls << QStringLiteral("start(%1)").arg(milliseconds);
    }
    void stop() override {
        m_active = false;
        calls << QStringLiteral("stop");
    }
    bool isActive() const override { return m_active; }
    int interval() const override { return m_interval; }

    QStringList calls;

private:
    bool m_active = false;
    int m_interval = 0;
};

} // namespace quorvella
