// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QCoroTask>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// The desktop's notification service as the notifier needs it: ask whether one answers, show or replace a
// notification, and hear which action the user picked.
class NotifierServer : public QObject
{
    Q_OBJECT

public:
    // One notification in the form of the desktop notification protocol.
    struct Notification
    {
        QString appName;
        // The server's id of the notification to replace, 0 for a new one.
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        // Alternating action keys and their labels.
        QStringList actions;
        QVariantMap hints;
        // Milliseconds; -1 leaves it to the server.
        int expireTimeout = -1;
    };

    using QObject::QObject;

    // The server's capabilities, or nothing when no server answers.
    virtual QCoro::Task<std::optional<QStringList>> capabilities() = 0;
    // The server's id of the shown notification, or nothing when it could not be shown.
    virtual QCoro::Task<std::optional<uint>> notify(const Notification &notification) = 0;

Q_SIGNALS:
    void actionInvoked(uint id, const QString &actionKey);
    void notificationClosed(uint id);
    // Another server took over (or the server went away): the ids it gave out mean nothing any more.
    void serverChanged();
};
