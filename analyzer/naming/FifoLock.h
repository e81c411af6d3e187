// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QtGlobal>

#include <coroutine>
#include <deque>

// A lock for coroutines on one thread: callers suspend in arrival order instead of blocking the thread, and the
// next one resumes from the event loop when the holder lets go.
class FifoLock
{
public:
    // Holds the lock until destroyed or moved from.
    class Guard
    {
    public:
        Guard() = default;
        explicit Guard(FifoLock *lock)
            : m_lock(lock)
        {}
        Guard(Guard &&other) noexcept
            : m_lock(other.m_lock)
        {
            other.m_lock = nullptr;
        }
        Guard &operator=(Guard &&other) noexcept;
        Guard(const Guard &) = delete;
        Guard &operator=(const Guard &) = delete;
        ~Guard() { release(); }

        void release();

    private:
        FifoLock *m_lock = nullptr;
    };

    class Acquire
    {
    public:
        explicit Acquire(FifoLock *lock)
            : m_lock(lock)
        {}
        bool await_ready() const noexcept;
        void await_suspend(std::coroutine_handle<> waiter);
        Guard await_resume() const noexcept { return Guard(m_lock); }

    private:
        FifoLock *m_lock;
    };

    FifoLock() = default;
    FifoLock(const FifoLock &) = delete;
    FifoLock &operator=(const FifoLock &) = delete;

    // co_await lock.acquire() yields a Guard once every earlier caller has released theirs.
    Acquire acquire() { return Acquire(this); }

    bool isLocked() const { return m_locked; }
    qsizetype waiting() const { return static_cast<qsizetype>(m_waiters.size()); }

private:
    void unlock();

    bool m_locked = false;
    std::deque<std::coroutine_handle<>> m_waiters;
};
