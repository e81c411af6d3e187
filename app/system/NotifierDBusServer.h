// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "NotifierServer.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

// The notifier's server over org.freedesktop.Notifications on a D-Bus connection; every call is asynchronous.
class NotifierDBusServer final : public NotifierServer
{
    Q_OBJECT

public:
    static constexpr const char *serviceName = "org.freedesktop.Notifications";
    static constexpr const char *objectPath = "/org/freedesktop/Notifications";
    static constexpr const char *interfaceName = "org.freedesktop.Notifications";

    explicit NotifierDBusServer(const QDBusConnection &connection = QDBusConnection::sessionBus(),
                                QObject *parent = nullptr);

    QCoro::Task<std::optional<QStringList>> capabilities() override;
    QCoro::Task<std::optional<uint>> notify(const Notification &notification) override;

private Q_SLOTS:
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    QDBusConnection m_connection;
    QDBusServiceWatcher m_owner;
};
