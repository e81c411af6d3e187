// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerService.h"

#include "AnalyzerAdaptor.h"
#include "IdleExit.h"
#include "Watchdog.h"

AnalyzerService::AnalyzerService(AnalyzeEngineFactory factory, IdleExit *idleExit, Watchdog *watchdog,
                                 TimeLimit timeLimit, std::chrono::milliseconds watchdogMargin, QObject *parent)
    : QObject(parent)
    , m_factory(std::move(factory))
    , m_idleExit(idleExit)
    , m_watchdog(watchdog)
    , m_timeLimit(std::move(timeLimit))
    , m_watchdogMargin(watchdogMargin)
{
    new AnalyzerAdaptor(this);
    m_peerWatcher.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    // A peer's engine (and its warmed session) goes with the peer; calls still running keep their own reference.
    connect(&m_peerWatcher, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString &name) {
        m_peers.remove(name);
        m_peerWatcher.removeWatchedService(name);
    });
}

std::shared_ptr<AnalyzerServiceImpl> AnalyzerService::peer(const QString &name)
{
    auto it = m_peers.find(name);
    if (it != m_peers.end())
        return it.value();
    auto created = std::make_shared<AnalyzerServiceImpl>(m_factory());
    m_peers.insert(name, created);
    if (calledFromDBus()) {
        m_peerWatcher.setConnection(connection());
        m_peerWatcher.addWatchedService(name);
    }
    // A new peer arms the idle timer even if it never completes a call.
    m_idleExit->begin();
    m_idleExit->end();
    return created;
}

QByteArray AnalyzerService::Analyze(const QDBusUnixFileDescriptor &image, const QByteArray &request)
{
    setDelayedReply(true);
    const QDBusMessage call = message();
    answer(connection(), call, peer(call.service()), image, request);
    return {};
}

void AnalyzerService::Prewarm(const QString &language)
{
    warm(peer(message().service()), language);
}

QCoro::Task<void> AnalyzerService::answer(QDBusConnection connection, QDBusMessage call,
                                          std::shared_ptr<AnalyzerServiceImpl> peer, QDBusUnixFileDescriptor image,
                                          QByteArray request)
{
    m_idleExit->begin();
    // The call answers by its deadline; the watchdog is only for a process that hangs past it.
    const std::chrono::milliseconds limit = m_timeLimit();
    const Watchdog::Ticket ticket = m_watchdog->arm(limit + m_watchdogMargin);
    const AnalyzeResponse response =
        co_await peer->analyze(std::move(image), std::move(request), ModelDeadline::after(limit));
    m_watchdog->cancel(ticket);
    connection.send(call.createReply(QVariant(response.toJson())));
    m_idleExit->end();
}

QCoro::Task<void> AnalyzerService::warm(std::shared_ptr<AnalyzerServiceImpl> peer, QString language)
{
    m_idleExit->begin();
    co_await peer->prewarm(std::move(language));
    m_idleExit->end();
}
