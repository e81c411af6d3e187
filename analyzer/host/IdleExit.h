// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

// Ends the service once nothing has run for a while; only the check armed by the latest end() may fire.
class IdleExit : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultDelay{20000};

    explicit IdleExit(std::chrono::milliseconds delay = defaultDelay, QObject *parent = nullptr);

    void begin();
    void end();
    // From now on the service ends as soon as nothing runs, at once if nothing does.
    void expire();

    qint64 active() const { return m_active; }

Q_SIGNALS:
    // Nothing ran for the whole delay; the host quits on it.
    void idle();

private:
    qint64 m_active = 0;
    qint64 m_generation = 0;
    std::chrono::milliseconds m_delay;
};
