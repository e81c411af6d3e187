// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include <QtGlobal>

// Fires an action when an armed deadline passes without being cancelled. It runs on its own thread, so a
// stuck event loop cannot keep it from firing.
class Watchdog
{
public:
    using Clock = std::chrono::steady_clock;
    using Ticket = quint64;

    explicit Watchdog(std::function<void()> onExpiry);
    ~Watchdog();
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

    Ticket arm(std::chrono::milliseconds timeout);
    void cancel(Ticket ticket);

private:
    void run(std::stop_token stop);

    std::function<void()> m_onExpiry;
    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::map<Ticket, Clock::time_point> m_deadlines;
    Ticket m_next = 1;
    std::jthread m_thread;
};
