// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ServiceHost.h"

#include "AnalyzerBus.h"
#include "ModelEnvironment.h"

#include <QDBusConnectionInterface>
#include <QDBusError>

namespace {
std::chrono::milliseconds milliseconds(const QProcessEnvironment &environment, const QString &name,
                                       std::chrono::milliseconds fallback)
{
    bool ok = false;
    const qint64 value = environment.value(name).toLongLong(&ok);
    return ok && value > 0 ? std::chrono::milliseconds(value) : fallback;
}
} // namespace

ServiceHost::Options ServiceHost::Options::fromEnvironment(const QProcessEnvironment &environment)
{
    Options options;
    options.idleDelay = milliseconds(environment, QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"), options.idleDelay);
    options.timeLimit = milliseconds(environment, QStringLiteral("ZENTROPE_TEST_CALL_LIMIT_MS"), options.timeLimit);
    options.watchdogMargin =
        milliseconds(environment, QStringLiteral("ZENTROPE_TEST_WATCHDOG_MARGIN_MS"), options.watchdogMargin);
    return options;
}

namespace {
AnalyzerService::TimeLimit timeLimitOf(std::chrono::milliseconds fixed)
{
    if (fixed.count() > 0)
        return [fixed] { return fixed; };
    return [] { return ModelEnvironment::system().timeLimit(); };
}
} // namespace

ServiceHost::ServiceHost(AnalyzeEngineFactory factory, Options options, std::function<void()> onCallLimit,
                         QObject *parent)
    : QObject(parent)
    , m_idleExit(options.idleDelay)
    , m_watchdog(std::move(onCallLimit))
    , m_service(std::move(factory), &m_idleExit, &m_watchdog, timeLimitOf(options.timeLimit), options.watchdogMargin)
{
    connect(&m_idleExit, &IdleExit::idle, this, &ServiceHost::idle);
}

bool ServiceHost::publish(QDBusConnection bus, QString *error)
{
    if (!bus.isConnected()) {
        if (error)
            *error = bus.lastError().message();
        return false;
    }
    if (!bus.registerObject(AnalyzerBus::objectPath, &m_service, QDBusConnection::ExportAdaptors)) {
        if (error)
            *error = QStringLiteral("cannot export %1").arg(AnalyzerBus::objectPath);
        return false;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(AnalyzerBus::serviceName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(AnalyzerBus::objectPath);
        if (error)
            *error = reply.isValid() ? QStringLiteral("%1 is already taken").arg(AnalyzerBus::serviceName)
                                     : reply.error().message();
        return false;
    }
    m_bus = bus;
    // Arms the idle exit for an activation whose caller went away before its first call.
    m_idleExit.begin();
    m_idleExit.end();
    return true;
}

void ServiceHost::retire()
{
    if (m_bus.isConnected())
        m_bus.interface()->unregisterService(AnalyzerBus::serviceName);
    m_idleExit.expire();
}
