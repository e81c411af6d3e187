// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <coroutine>
#include <memory>

// Awaits the next emission of a signal; true when it came, false on the time limit or when the object went away.
// QCoro's qCoro(object, signal) delivers through a queued connection whose slot reads the awaiter's frame: a second
// emission queued before the first is delivered reaches that frame after the coroutine has resumed and freed it.
// Here the slot holds only a shared state, and a delivery after the first finds it settled.
template <typename T, typename Signal>
class NextSignal
{
public:
    NextSignal(T *object, Signal signal, std::chrono::milliseconds timeout = std::chrono::milliseconds(-1))
        : m_object(object)
        , m_signal(signal)
        , m_timeout(timeout)
    {}

    bool await_ready() const noexcept { return m_object.isNull(); }

    void await_suspend(std::coroutine_handle<> handle)
    {
        auto state = m_state;
        state->handle = handle;
        // Every delivery is queued to a receiver of the awaiting thread, so the coroutine never resumes inside the
        // emission (or the destruction) that woke it.
        state->receiver = new QObject;
        const auto settle = [state](bool emitted) {
            if (!state->handle)
                return;
            for (const QMetaObject::Connection &connection : state->connections)
                QObject::disconnect(connection);
            state->result = emitted;
            std::exchange(state->handle, nullptr).resume();
        };
        state->connections = {QObject::connect(
                                  m_object.data(), m_signal, state->receiver, [settle](auto &&...) { settle(true); },
                                  Qt::QueuedConnection),
                              QObject::connect(
                                  m_object.data(), &QObject::destroyed, state->receiver, [settle] { settle(false); },
                                  Qt::QueuedConnection)};
        if (m_timeout.count() >= 0)
            QTimer::singleShot(m_timeout, state->receiver, [settle] { settle(false); });
    }

    bool await_resume() const noexcept { return m_state->result; }

private:
    struct State
    {
        ~State()
        {
            // Its last owner may be a slot of the receiver that is running now.
            if (receiver)
                receiver->deleteLater();
        }
        std::coroutine_handle<> handle;
        QObject *receiver = nullptr;
        QList<QMetaObject::Connection> connections;
        bool result = false;
    };

    QPointer<T> m_object;
    Signal m_signal;
    std::chrono::milliseconds m_timeout;
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
