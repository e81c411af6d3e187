// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TrayHost.h"

#include <QDBusMessage>

namespace {
const QString service = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString path = QStringLiteral("/StatusNotifierWatcher");
} // namespace

TrayHost::TrayHost(QDBusConnection connection, QObject *parent)
    : QObject(parent)
    , m_connection(std::move(connection))
{
    m_serving = m_connection.registerObject(path, this,
                                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                                QDBusConnection::ExportAllProperties) &&
                m_connection.registerService(service);
}

TrayHost::~TrayHost()
{
    m_connection.unregisterService(service);
    m_connection.unregisterObject(path);
}

QStringList TrayHost::RegisteredStatusNotifierItems() const
{
    const QMutexLocker lock(&m_mutex);
    return m_items;
}

bool TrayHost::clickIcon()
{
    const QStringList items = RegisteredStatusNotifierItems();
    if (items.isEmpty())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(items.last(), QStringLiteral("/StatusNotifierItem"),
                                       QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"));
    call << 0 << 0;
    return m_connection.send(call);
}

void TrayHost::RegisterStatusNotifierItem(const QString &item)
{
    {
        const QMutexLocker lock(&m_mutex);
        m_items.removeAll(item);
        m_items.append(item);
    }
    Q_EMIT StatusNotifierItemRegistered(item);
}

void TrayHost::RegisterStatusNotifierHost(const QString &) {}
