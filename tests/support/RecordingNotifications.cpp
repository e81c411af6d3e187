// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RecordingNotifications.h"

#include <QDBusMessage>

namespace {
const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
} // namespace

RecordingNotifications::RecordingNotifications(QDBusConnection connection, QObject *parent)
    : QObject(parent)
    , m_connection(std::move(connection))
{
    m_serving = m_connection.registerObject(path, this, QDBusConnection::ExportAllSlots) &&
                m_connection.registerService(service);
}

RecordingNotifications::~RecordingNotifications()
{
    m_connection.unregisterService(service);
    m_connection.unregisterObject(path);
}

QList<RecordingNotifications::Shown> RecordingNotifications::shown() const
{
    const QMutexLocker lock(&m_mutex);
    return m_shown;
}

void RecordingNotifications::clear()
{
    const QMutexLocker lock(&m_mutex);
    m_shown.clear();
}

void RecordingNotifications::invokeAction(uint id, const QString &key)
{
    QDBusMessage signal = QDBusMessage::createSignal(path, service, QStringLiteral("ActionInvoked"));
    signal << id << key;
    m_connection.send(signal);
}

QStringList RecordingNotifications::GetCapabilities()
{
    return {QStringLiteral("actions"), QStringLiteral("body")};
}

uint RecordingNotifications::Notify(const QString &, uint replacesId, const QString &, const QString &summary,
                                    const QString &body, const QStringList &actions, const QVariantMap &, int)
{
    const QMutexLocker lock(&m_mutex);
    const uint id = replacesId != 0 ? replacesId : m_nextId++;
    m_shown.append({id, summary, body, actions});
    return id;
}
