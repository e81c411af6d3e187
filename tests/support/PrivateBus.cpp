// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PrivateBus.h"

#include <QDBusError>
#include <QUuid>

#include <gtest/gtest.h>

PrivateBus::PrivateBus(const QString &configFile, const QProcessEnvironment &environment)
{
    m_daemon.setProcessEnvironment(environment);
    m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + configFile,
                                                   QStringLiteral("--print-address=1"), QStringLiteral("--nofork")});
    if (!m_daemon.waitForStarted(5000)) {
        ADD_FAILURE() << "dbus-daemon did not start: " << m_daemon.errorString().toStdString();
        return;
    }
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    EXPECT_FALSE(m_address.isEmpty()) << "dbus-daemon printed no address";
}

PrivateBus::~PrivateBus()
{
    for (const QString &name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(3000))
        m_daemon.kill();
    m_daemon.waitForFinished(3000);
}

QString PrivateBus::defaultConfig()
{
    return QStringLiteral(ZENTROPE_BINARY_DIR "/dbus/session.conf");
}

QString PrivateBus::configWithoutServices()
{
    return QStringLiteral(ZENTROPE_BINARY_DIR "/dbus/session-without-services.conf");
}

QDBusConnection PrivateBus::connect()
{
    const QString name = QStringLiteral("test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_connections.append(name);
    QDBusConnection connection = QDBusConnection::connectToBus(m_address, name);
    EXPECT_TRUE(connection.isConnected()) << connection.lastError().message().toStdString();
    return connection;
}
