// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <algorithm>
#include <chrono>

// The moment by which everything one analyzer call asks of the model must be done. Every request of the call gets
// only the time left, so a slow model ends the call in time instead of each request waiting on its own.
class ModelDeadline
{
public:
    using Clock = std::chrono::steady_clock;

    // No deadline at all.
    ModelDeadline() = default;

    static ModelDeadline after(std::chrono::milliseconds span) { return ModelDeadline(Clock::now() + span); }

    bool isSet() const { return m_at != Clock::time_point::max(); }
    bool passed() const { return isSet() && Clock::now() >= m_at; }

    // Zero once passed; `span` itself when there is no deadline or more time is left than that.
    std::chrono::milliseconds capped(std::chrono::milliseconds span) const
    {
        if (!isSet())
            return span;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_at - Clock::now());
        return std::clamp(left, std::chrono::milliseconds(0), span);
    }

private:
    explicit ModelDeadline(Clock::time_point at)
        : m_at(at)
    {}

    Clock::time_point m_at = Clock::time_point::max();
};
