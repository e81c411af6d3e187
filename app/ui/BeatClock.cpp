// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "BeatClock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

class MonotonicBeatClock final : public BeatClock
{
public:
    MonotonicBeatClock()
    {
        m_elapsed.start();
        m_timer.setSingleShot(true);
        // Coarse timers may fire 5 % late, which would stretch every hold of a short beat.
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            // The callback may schedule the next wake-up, so it runs from a moved-out copy.
            std::function<void()> wake = std::move(m_wake);
            m_wake = nullptr;
            if (wake)
                wake();
        });
    }

    std::chrono::milliseconds now() const override { return std::chrono::milliseconds(m_elapsed.elapsed()); }

    void wakeAt(std::chrono::milliseconds when, std::function<void()> wake) override
    {
        m_wake = std::move(wake);
        m_timer.start(std::max(std::chrono::milliseconds(0), when - now()));
    }

    void cancel() override
    {
        m_timer.stop();
        m_wake = nullptr;
    }

    bool isPending() const override { return m_timer.isActive(); }

private:
    QElapsedTimer m_elapsed;
    QTimer m_timer;
    std::function<void()> m_wake;
};

} // namespace

std::unique_ptr<BeatClock> BeatClock::monotonic()
{
    return std::make_unique<MonotonicBeatClock>();
}
