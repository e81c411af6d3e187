// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "LogindPowerMonitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>

PowerMonitor::~PowerMonitor() = default;

LogindPowerMonitor::LogindPowerMonitor(QDBusConnection systemBus, QObject *parent)
    : PowerMonitor(parent)
    , m_bus(std::move(systemBus))
{
    if (!m_bus.isConnected())
        return;
    m_listening = m_bus.connect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(interface),
                                QStringLiteral("PrepareForSleep"), this, SLOT(onPrepareForSleep(bool)));
    if (m_listening)
        takeDelayLock();
}

LogindPowerMonitor::~LogindPowerMonitor() = default;

void LogindPowerMonitor::takeDelayLock()
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                                       QString::fromLatin1(interface), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Zentrope")
         << QStringLiteral("Recording the moment watching stopped") << QStringLiteral("delay");
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    const quint64 generation = ++m_lockGeneration;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
        // A refused lock (policy, no logind) only means the system will not wait for us.
        if (reply.isError() || generation != m_lockGeneration)
            return;
        m_delayLock = reply.value();
        Q_EMIT delayLockChanged();
    });
}

void LogindPowerMonitor::onPrepareForSleep(bool goingToSleep)
{
    if (goingToSleep) {
        Q_EMIT aboutToSleep();
        ++m_lockGeneration;
        // Closing the descriptor tells logind we are done.
        if (m_delayLock.isValid()) {
            m_delayLock = QDBusUnixFileDescriptor();
            Q_EMIT delayLockChanged();
        }
    } else {
        takeDelayLock();
        Q_EMIT wokeUp();
    }
}
