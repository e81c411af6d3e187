// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QDBusConnection>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// A desktop notification server as small as the protocol allows: it records every notification and picks an
// action as a user does in a notification. It may serve from a thread of its own; its record is read from any.
class RecordingNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Shown
    {
        uint id = 0;
        QString summary;
        QString body;
        // Alternating action keys and labels.
        QStringList actions;
    };

    // Serves on `connection`, which should be a connection of its own.
    explicit RecordingNotifications(QDBusConnection connection, QObject *parent = nullptr);
    ~RecordingNotifications() override;

    bool isServing() const { return m_serving; }
    QList<Shown> shown() const;
    void clear();
    // The user chose the action `key` of notification `id`.
    void invokeAction(uint id, const QString &key);

public Q_SLOTS:
    QStringList GetCapabilities();
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int timeout);

private:
    QDBusConnection m_connection;
    bool m_serving = false;
    mutable QMutex m_mutex;
    QList<Shown> m_shown;
    uint m_nextId = 1;
};
