// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Watchdog.h"

#include <algorithm>

Watchdog::Watchdog(std::function<void()> onExpiry)
    : m_onExpiry(std::move(onExpiry))
    , m_thread([this](std::stop_token stop) { run(stop); })
{}

Watchdog::~Watchdog()
{
    m_thread.request_stop();
    m_changed.notify_all();
}

Watchdog::Ticket Watchdog::arm(std::chrono::milliseconds timeout)
{
    std::lock_guard lock(m_mutex);
    const Ticket ticket = m_next++;
    m_deadlines.emplace(ticket, Clock::now() + timeout);
    m_changed.notify_all();
    return ticket;
}

void Watchdog::cancel(Ticket ticket)
{
    std::lock_guard lock(m_mutex);
    m_deadlines.erase(ticket);
    m_changed.notify_all();
}

void Watchdog::run(std::stop_token stop)
{
    std::unique_lock lock(m_mutex);
    while (!stop.stop_requested()) {
        if (m_deadlines.empty()) {
            m_changed.wait(lock, stop, [this] { return !m_deadlines.empty(); });
            continue;
        }
        const auto earliest = std::min_element(m_deadlines.begin(), m_deadlines.end(),
                                               [](const auto &a, const auto &b) { return a.second < b.second; });
        const Ticket ticket = earliest->first;
        const Clock::time_point deadline = earliest->second;
        // Wakes early when a ticket is armed or cancelled; the loop then re-reads the earliest deadline.
        const bool changed = m_changed.wait_until(lock, stop, deadline, [this, ticket, deadline] {
            const auto it = m_deadlines.find(ticket);
            return it == m_deadlines.end() || it->second != deadline ||
                   std::any_of(m_deadlines.begin(), m_deadlines.end(),
                               [deadline](const auto &entry) { return entry.second < deadline; });
        });
        if (changed || stop.stop_requested())
            continue;
        m_deadlines.erase(ticket);
        lock.unlock();
        m_onExpiry();
        lock.lock();
    }
}
