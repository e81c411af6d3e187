// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerLauncher.h"

#include "AnalyzerBus.h"

#include "SignalWait.h"
#include <QCoreApplication>
#include <QCoroDBusPendingReply>
#include <QDBusConnectionInterface>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>

AnalyzerLauncher::AnalyzerLauncher(QDBusConnection bus, QString programDir, QProcessEnvironment environment)
    : m_bus(std::move(bus))
    , m_programDir(std::move(programDir))
    , m_environment(std::move(environment))
{}

QStringList AnalyzerLauncher::candidates(const QString &programDir)
{
    const QDir dir(programDir);
    QStringList paths;
    for (const char *relative : {".", ZENTROPE_ANALYZER_FROM_BINDIR, ZENTROPE_ANALYZER_FROM_BUILD_APP}) {
        const QString path =
            QDir::cleanPath(dir.filePath(QString::fromUtf8(relative) + QStringLiteral("/zentrope-analyzer")));
        if (!paths.contains(path))
            paths.append(path);
    }
    return paths;
}

std::optional<QString> AnalyzerLauncher::program() const
{
    const QString dir = m_programDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_programDir;
    for (const QString &path : candidates(dir)) {
        const QFileInfo info(path);
        if (info.isFile() && info.isExecutable())
            return path;
    }
    return std::nullopt;
}

QCoro::Task<bool> AnalyzerLauncher::start(std::chrono::milliseconds timeout)
{
    // Everything the wait needs lives in this frame: the launcher may be gone when it resumes.
    QDBusConnection bus = m_bus;
    const std::optional<QString> path = program();
    const QProcessEnvironment environment = m_environment;
    if (!bus.isConnected() || !bus.interface())
        co_return false;

    // Watching before asking: a name claimed in between is still seen.
    QDBusServiceWatcher watcher(AnalyzerBus::serviceName, bus, QDBusServiceWatcher::WatchForRegistration);
    bool registered = false;
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &watcher, [&registered] { registered = true; });
    const QDBusPendingReply<bool> owned =
        bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), AnalyzerBus::serviceName);
    co_await owned;
    if (registered || (owned.isValid() && owned.value()))
        co_return true;
    if (!path)
        co_return false;

    QProcess process;
    process.setProgram(*path);
    process.setProcessEnvironment(environment);
    // It outlives this call by its idle time; inherited pipes would keep a reader of ours waiting that long.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached())
        co_return false;
    if (!registered)
        co_await NextSignal(&watcher, &QDBusServiceWatcher::serviceRegistered, timeout);
    co_return registered;
}
