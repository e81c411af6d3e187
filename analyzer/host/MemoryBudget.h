// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QCoroTask>
#include <QList>
#include <QObject>

// The memory that image work of all calls together may take. A call holds a share for as long as it keeps the
// image's bytes and decodes them; a call whose share does not fit waits, first come first served.
// Lives on one thread: shares are taken and given back there.
class MemoryBudget : public QObject
{
    Q_OBJECT

public:
    // Beside the process's own ~100 MB (Qt, the recognition models), this keeps the analyzer under 600 MB.
    static constexpr qint64 defaultCapacity = qint64(400) << 20;

    explicit MemoryBudget(qint64 capacity = defaultCapacity, QObject *parent = nullptr);

    // The process's budget, shared by every peer.
    static MemoryBudget &shared();

    // A held part of the budget, given back when destroyed.
    class Share
    {
    public:
        Share() = default;
        Share(Share &&other) noexcept;
        Share &operator=(Share &&other) noexcept;
        ~Share();
        qint64 bytes() const { return m_bytes; }

    private:
        friend class MemoryBudget;
        Share(MemoryBudget *budget, qint64 bytes);
        void release();

        MemoryBudget *m_budget = nullptr;
        qint64 m_bytes = 0;
    };

    // Completes once `bytes` fit beside every share held and every earlier request has been served.
    // `bytes` must not exceed the capacity: such a request could never be served.
    QCoro::Task<Share> acquire(qint64 bytes);

    qint64 capacity() const { return m_capacity; }
    qint64 held() const { return m_held; }
    qsizetype waiting() const { return m_queue.size(); }

Q_SIGNALS:
    // A share was given back or taken; the first in line looks again.
    void changed();

private:
    void give(qint64 bytes);
    void notifyLater();

    qint64 m_capacity;
    qint64 m_held = 0;
    quint64 m_nextTicket = 0;
    QList<quint64> m_queue;
};
