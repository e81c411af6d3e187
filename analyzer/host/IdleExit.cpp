// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "IdleExit.h"

IdleExit::IdleExit(std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent)
    , m_delay(delay)
{}

void IdleExit::begin()
{
    ++m_active;
    ++m_generation;
}

void IdleExit::end()
{
    --m_active;
    const qint64 generation = ++m_generation;
    QTimer::singleShot(m_delay, this, [this, generation] {
        if (m_active == 0 && m_generation == generation)
            Q_EMIT idle();
    });
}

void IdleExit::expire()
{
    m_delay = std::chrono::milliseconds(0);
    begin();
    end();
}
