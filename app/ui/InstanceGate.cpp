// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "InstanceGate.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

InstanceGate::InstanceGate(std::function<void()> reopen, QObject *parent)
    : QObject(parent)
    , m_reopen(std::move(reopen))
{}

bool InstanceGate::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return true;
    const QString name = QString::fromLatin1(serviceName);
    if (bus.registerService(name)) {
        bus.registerObject(QString::fromLatin1(objectPath), this, QDBusConnection::ExportAllSlots);
        return true;
    }
    const QDBusMessage call =
        QDBusMessage::createMethodCall(name, QString::fromLatin1(objectPath),
                                       QStringLiteral("org.zentrope.Zentrope.App1"), QStringLiteral("Activate"));
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    // A holder that does not answer is not a working instance; run anyway rather than leave the user without one.
    return reply.type() == QDBusMessage::ErrorMessage;
}

void InstanceGate::Activate()
{
    if (m_reopen)
        m_reopen();
}
