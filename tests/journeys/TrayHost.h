// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QDBusConnection>
#include <QMutex>
#include <QObject>
#include <QStringList>

// The status area of a desktop as the status-notifier protocol sees it: items register with it, and a click on
// an icon reaches the item as Activate, as a panel's tray sends it. Serves from a thread of its own, since Qt
// asks for it with blocking calls.
class TrayHost : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)

public:
    // Serves org.kde.StatusNotifierWatcher on `connection`, which should be a connection of its own.
    explicit TrayHost(QDBusConnection connection, QObject *parent = nullptr);
    ~TrayHost() override;

    bool isServing() const { return m_serving; }
    QStringList RegisteredStatusNotifierItems() const;
    bool IsStatusNotifierHostRegistered() const { return true; }
    int ProtocolVersion() const { return 0; }

    // A left click on the icon of the item registered last; false when none is.
    bool clickIcon();

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString &service);
    void RegisterStatusNotifierHost(const QString &service);

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString &service);

private:
    QDBusConnection m_connection;
    bool m_serving = false;
    mutable QMutex m_mutex;
    QStringList m_items;
};
