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
                                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties) &&
                m_connection.registerService(service);
}

TrayHost::~TrayHost()
{
    m_connection.unregisterService(service);
    m_connection.unregisterObject(path);
}

bool TrayHost::clickIcon()
{
    const QMutexLocker lock(&m_mutex);
    if (m_item.isEmpty())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(m_item, QStringLiteral("/StatusNotifierItem"),
                                       QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"));
    call << 0 << 0;
    return m_connection.send(call);
}

void TrayHost::RegisterStatusNotifierItem(const QString &item)
{
    const QMutexLocker lock(&m_mutex);
    m_item = item;
}
