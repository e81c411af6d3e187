// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <chrono>
#include <functional>
#include <memory>

// The time an animation script runs on: a monotonic reading and at most one pending wake-up. Tests move it by hand.
class BeatClock
{
public:
    virtual ~BeatClock() = default;

    virtual std::chrono::milliseconds now() const = 0;
    // Replaces the pending wake-up, if any.
    virtual void wakeAt(std::chrono::milliseconds when, std::function<void()> wake) = 0;
    virtual void cancel() = 0;
    virtual bool isPending() const = 0;

    // The monotonic clock with a precise single-shot timer on the calling thread's event loop.
    static std::unique_ptr<BeatClock> monotonic();
};
