// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FifoLock.h"

#include <QTimer>

FifoLock::Guard &FifoLock::Guard::operator=(Guard &&other) noexcept
{
    if (this != &other) {
        release();
        m_lock = other.m_lock;
        other.m_lock = nullptr;
    }
    return *this;
}

void FifoLock::Guard::release()
{
    if (m_lock != nullptr) {
        FifoLock *lock = m_lock;
        m_lock = nullptr;
        lock->unlock();
    }
}

bool FifoLock::Acquire::await_ready() const noexcept
{
    if (m_lock->m_locked)
        return false;
    m_lock->m_locked = true;
    return true;
}

void FifoLock::Acquire::await_suspend(std::coroutine_handle<> waiter)
{
    m_lock->m_waiters.push_back(waiter);
}

void FifoLock::unlock()
{
    if (m_waiters.empty()) {
        m_locked = false;
        return;
    }
    // The lock passes straight to the next waiter, so no later arrival can overtake it. It resumes from the event
    // loop rather than inside the releasing coroutine, which may be in the middle of finishing.
    const std::coroutine_handle<> next = m_waiters.front();
    m_waiters.pop_front();
    QTimer::singleShot(0, [next] { next.resume(); });
}
