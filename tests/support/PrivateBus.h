// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

// A session bus of the test's own, started from a configuration whose services come from the build tree.
// Services it activates inherit `environment`.
class PrivateBus
{
public:
    explicit PrivateBus(const QString &configFile = defaultConfig(),
                        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // The configuration that activates the analyzer from the build tree.
    static QString defaultConfig();
    // A configuration without any activatable service.
    static QString configWithoutServices();

    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    // A new, separate connection to the bus: each is its own peer with its own unique name.
    QDBusConnection connect();

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};
