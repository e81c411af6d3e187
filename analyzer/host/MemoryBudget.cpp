// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "MemoryBudget.h"

#include "SignalWait.h"

#include <QThread>
#include <QTimer>

#include <utility>

MemoryBudget::MemoryBudget(qint64 capacity, QObject *parent)
    : QObject(parent)
    , m_capacity(capacity)
{}

MemoryBudget &MemoryBudget::shared()
{
    static MemoryBudget budget;
    return budget;
}

MemoryBudget::Share::Share(MemoryBudget *budget, qint64 bytes)
    : m_budget(budget)
    , m_bytes(bytes)
{}

MemoryBudget::Share::Share(Share &&other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr))
    , m_bytes(std::exchange(other.m_bytes, 0))
{}

MemoryBudget::Share &MemoryBudget::Share::operator=(Share &&other) noexcept
{
    if (this != &other) {
        release();
        m_budget = std::exchange(other.m_budget, nullptr);
        m_bytes = std::exchange(other.m_bytes, 0);
    }
    return *this;
}

MemoryBudget::Share::~Share()
{
    release();
}

void MemoryBudget::Share::release()
{
    if (m_budget)
        m_budget->give(std::exchange(m_bytes, 0));
    m_budget = nullptr;
}

QCoro::Task<MemoryBudget::Share> MemoryBudget::acquire(qint64 bytes)
{
    Q_ASSERT(QThread::currentThread() == thread());
    Q_ASSERT(bytes >= 0 && bytes <= m_capacity);
    const quint64 ticket = m_nextTicket++;
    m_queue.append(ticket);
    while (m_queue.front() != ticket || m_held + bytes > m_capacity)
        co_await NextSignal(this, &MemoryBudget::changed);
    m_queue.removeFirst();
    m_held += bytes;
    // The next in line may fit as well.
    notifyLater();
    co_return Share(this, bytes);
}

void MemoryBudget::give(qint64 bytes)
{
    Q_ASSERT(QThread::currentThread() == thread());
    m_held -= bytes;
    notifyLater();
}

void MemoryBudget::notifyLater()
{
    // Waiters resume from the event loop, never inside the destructor of the share that freed their room.
    if (!m_queue.isEmpty())
        QTimer::singleShot(0, this, [this] { Q_EMIT changed(); });
}
