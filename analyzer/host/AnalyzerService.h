// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeEngine.h"
#include "AnalyzerServiceImpl.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusUnixFileDescriptor>
#include <QHash>
#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

class IdleExit;
class Watchdog;

// The object the analyzer exports on the bus. Each peer (unique bus name) gets its own AnalyzerServiceImpl;
// replies are delayed so calls from several peers run at the same time.
class AnalyzerService : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    // The time limit of a call's model work, read as the call arrives.
    using TimeLimit = std::function<std::chrono::milliseconds()>;

    // Each call's watchdog is armed for its time limit plus `watchdogMargin`.
    AnalyzerService(AnalyzeEngineFactory factory, IdleExit *idleExit, Watchdog *watchdog, TimeLimit timeLimit,
                    std::chrono::milliseconds watchdogMargin, QObject *parent = nullptr);

    qsizetype peerCount() const { return m_peers.size(); }

public Q_SLOTS:
    QByteArray Analyze(const QDBusUnixFileDescriptor &image, const QByteArray &request);
    Q_NOREPLY void Prewarm(const QString &language);

private:
    std::shared_ptr<AnalyzerServiceImpl> peer(const QString &name);
    QCoro::Task<void> answer(QDBusConnection connection, QDBusMessage call, std::shared_ptr<AnalyzerServiceImpl> peer,
                             QDBusUnixFileDescriptor image, QByteArray request);
    QCoro::Task<void> warm(std::shared_ptr<AnalyzerServiceImpl> peer, QString language);

    AnalyzeEngineFactory m_factory;
    IdleExit *m_idleExit;
    Watchdog *m_watchdog;
    TimeLimit m_timeLimit;
    std::chrono::milliseconds m_watchdogMargin;
    QHash<QString, std::shared_ptr<AnalyzerServiceImpl>> m_peers;
    QDBusServiceWatcher m_peerWatcher;
};
