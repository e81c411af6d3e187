// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NotifierDBusServer.h"

#include <QCoroDBusPendingCall>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QPointer>

namespace {
QDBusMessage methodCall(const char *method)
{
    return QDBusMessage::createMethodCall(QLatin1String(NotifierDBusServer::serviceName),
                                          QLatin1String(NotifierDBusServer::objectPath),
                                          QLatin1String(NotifierDBusServer::interfaceName), QLatin1String(method));
}
} // namespace

NotifierDBusServer::NotifierDBusServer(const QDBusConnection &connection, QObject *parent)
    : NotifierServer(parent)
    , m_connection(connection)
    , m_owner(QLatin1String(serviceName), connection, QDBusServiceWatcher::WatchForOwnerChange)
{
    connect(&m_owner, &QDBusServiceWatcher::serviceOwnerChanged, this, &NotifierServer::serverChanged);
    // Signals are matched on the well-known name, so only the current notification server is heard.
    m_connection.connect(QLatin1String(serviceName), QLatin1String(objectPath), QLatin1String(interfaceName),
                         QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    m_connection.connect(QLatin1String(serviceName), QLatin1String(objectPath), QLatin1String(interfaceName),
                         QStringLiteral("NotificationClosed"), this, SLOT(onNotificationClosed(uint, uint)));
}

QCoro::Task<std::optional<QStringList>> NotifierDBusServer::capabilities()
{
    const QDBusPendingCall call = m_connection.asyncCall(methodCall("GetCapabilities"));
    const QDBusMessage reply = co_await call;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1 ||
        reply.arguments().front().metaType() != QMetaType::fromType<QStringList>())
        co_return std::nullopt;
    co_return reply.arguments().front().toStringList();
}

QCoro::Task<std::optional<uint>> NotifierDBusServer::notify(const Notification &notification)
{
    QDBusMessage message = methodCall("Notify");
    message << notification.appName << notification.replacesId << notification.appIcon << notification.summary
            << notification.body << notification.actions << notification.hints << notification.expireTimeout;
    const QDBusPendingCall call = m_connection.asyncCall(message);
    const QDBusMessage reply = co_await call;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1 ||
        reply.arguments().front().metaType() != QMetaType::fromType<uint>())
        co_return std::nullopt;
    co_return reply.arguments().front().toUInt();
}

void NotifierDBusServer::onActionInvoked(uint id, const QString &actionKey)
{
    Q_EMIT actionInvoked(id, actionKey);
}

void NotifierDBusServer::onNotificationClosed(uint id, uint /*reason*/)
{
    Q_EMIT notificationClosed(id);
}
