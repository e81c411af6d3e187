// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QDBusConnection>
#include <QMutex>
#include <QObject>
#include <QStringList>

// A desktop's status area as the status-notifier protocol sees it: items register with it, and a click on an icon
// reaches the item as Activate, as a panel's tray sends it.
class TrayHost : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)

public:
    // Serves on `connection`, which should be a connection of its own.
    explicit TrayHost(QDBusConnection connection, QObject *parent = nullptr);
    ~TrayHost() override;

    bool isServing() const { return m_serving; }
    bool IsStatusNotifierHostRegistered() const { return true; }
    // A left click on the icon registered last; false while there is none.
    bool clickIcon();

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString &service);

private:
    QDBusConnection m_connection;
    bool m_serving = false;
    QMutex m_mutex;
    QString m_item;
};
