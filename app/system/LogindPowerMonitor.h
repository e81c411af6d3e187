// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "PowerMonitor.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>

// Sleep and wake as logind announces them on the system bus. While awake it holds a delay lock, so the system
// waits for the application to record what it must before sleeping; without a system bus it reports nothing.
class LogindPowerMonitor final : public PowerMonitor
{
    Q_OBJECT

public:
    explicit LogindPowerMonitor(QDBusConnection systemBus = QDBusConnection::systemBus(), QObject *parent = nullptr);
    ~LogindPowerMonitor() override;

    // Whether the sleep announcements are being listened to.
    bool isListening() const { return m_listening; }
    // Whether a delay lock is held right now.
    bool holdsDelayLock() const { return m_delayLock.isValid(); }

    static constexpr const char *service = "org.freedesktop.login1";
    static constexpr const char *path = "/org/freedesktop/login1";
    static constexpr const char *interface = "org.freedesktop.login1.Manager";

Q_SIGNALS:
    // The delay lock was taken or released (for observers that must know the lock moved).
    void delayLockChanged();

private Q_SLOTS:
    void onPrepareForSleep(bool goingToSleep);

private:
    void takeDelayLock();

    QDBusConnection m_bus;
    QDBusUnixFileDescriptor m_delayLock;
    bool m_listening = false;
    // Guards against a lock request answered after the system already went to sleep.
    quint64 m_lockGeneration = 0;
};
