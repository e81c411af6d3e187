// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TestProfile.h"

#include "ModelEnvironment.h"

#include <QTest>

TestProfile::TestProfile(const QString &modelEndpoint)
    : m_store(std::make_shared<KeyValueStore>(m_config.filePath(QStringLiteral("zentrope/settings.json"))))
{
    if (!modelEndpoint.isEmpty())
        m_store->setString(QLatin1String(ModelEnvironment::endpointKey), modelEndpoint);
    m_store->setString(QStringLiteral("interfaceLanguage"), QStringLiteral("en"));
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    m_environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data.path());
    m_environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    // The analyzer outlives the bus until it is idle, holding the test's output open meanwhile.
    m_environment.insert(QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"), QStringLiteral("1000"));
    m_bus = std::make_unique<PrivateBus>(PrivateBus::defaultConfig(), m_environment);
}

QProcessEnvironment TestProfile::environment() const
{
    QProcessEnvironment environment = m_environment;
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus->address());
    return environment;
}

std::unique_ptr<QProcess> TestProfile::startZentrope(const QStringList &arguments) const
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->start(QStringLiteral(ZENTROPE_BINARY_DIR "/app/zentrope"), arguments);
    return process;
}

bool TestProfile::waitForExit(QProcess &process, int timeoutMs)
{
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
}
