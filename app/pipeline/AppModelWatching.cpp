// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"

#include "AppSettings.h"
#include "HistoryStore.h"
#include "PipelinePaths.h"
#include "ScreenshotDetector.h"

#include <QCoroTimer>
#include <QFileInfo>
#include <QPointer>

namespace {

constexpr quint32 changeFlags = FolderWatcher::itemCreated | FolderWatcher::itemRenamed | FolderWatcher::itemModified;

} // namespace

using namespace PipelinePaths;

QCoro::Task<> AppModel::start()
{
    QPointer<AppModel> self(this);
    if (m_notifier) {
        m_notifier->registerCategories();
        m_notifier->setOnUndo([self](const QUuid &id) {
            if (!self)
                return;
            if (const std::optional<RenameRecord> record = self->m_history.record(id))
                self->undo(*record);
        });
        m_notifier->setOnReveal([self](const QUuid &id) {
            if (!self)
                return;
            if (const std::optional<RenameRecord> record = self->m_history.record(id))
                self->reveal(*record);
        });
    }
    openAllFolders();
    co_await syncAvailability(false);
    if (!self)
        co_return;
    observeWorkspace();
    if (m_frontApps)
        m_frontApps->start();
    if (!m_settings.lastSeenDate())
        stamp();
    applyWatching(true);
    retryPending();
    warmUpAfterUpdate();
}

void AppModel::shutdown()
{
    if (m_settings.autoProcessing() && isWatching())
        stamp();
    if (m_watcher)
        m_watcher->stop();
    m_watcher.reset();
    if (m_frontApps)
        m_frontApps->stop();
    // A timer that fires after this finds a newer generation and does nothing.
    ++m_retryGeneration;
    m_retryArmed = false;
    m_history.saveNow();
    for (const QString &location : std::as_const(m_openFolders))
        FolderBookmark::stopAccess(location);
    for (const QString &location : std::as_const(m_extraFolders))
        FolderBookmark::stopAccess(location);
}

void AppModel::stamp()
{
    m_lastSeenWrite = now();
    m_settings.setLastSeenDate(m_lastSeenWrite);
}

QStringList AppModel::activeFolderPaths() const
{
    QStringList paths;
    for (const WatchedFolder &folder : m_settings.folders()) {
        const auto open = m_openFolders.constFind(folder.id);
        if (folder.enabled && open != m_openFolders.constEnd())
            paths.append(resolvedPath(*open));
    }
    return paths;
}

void AppModel::applyWatching(bool catchUp)
{
    const QStringList paths = activeFolderPaths();
    if (!m_settings.autoProcessing() || paths.isEmpty()) {
        if (m_watcher)
            m_watcher->stop();
        m_watcher.reset();
        updateIdleActivity();
        return;
    }
    if (!m_watcher) {
        // The destructor stops the watcher before the model goes, so `this` is alive whenever the handler runs.
        m_watcher = std::make_unique<FolderWatcher>(m_ignoreOwnEvents, m_timing.watcherLatency,
                                                    [this](const QList<FolderWatcher::Event> &events) {
                                                        QMetaObject::invokeMethod(
                                                            this,
                                                            [self = QPointer<AppModel>(this), events] {
                                                                if (self)
                                                                    self->handle(events);
                                                            },
                                                            Qt::QueuedConnection);
                                                    });
    }
    m_watcher->start(paths);
    updateIdleActivity();
    if (catchUp)
        catchUpMissed(m_settings.lastSeenDate());
}

void AppModel::handle(const QList<FolderWatcher::Event> &events)
{
    for (const FolderWatcher::Event &event : events)
        Q_EMIT eventReceived(event.path, event.flags);
    if (!m_settings.autoProcessing())
        return;
    const std::optional<QDateTime> remembered = m_settings.lastSeenDate();
    bool rescan = false;
    const ProcessingScope scope = m_settings.scope();
    for (const FolderWatcher::Event &event : events) {
        if (event.flags & FolderWatcher::rescanMask) {
            rescan = true;
            continue;
        }
        if (!(event.flags & changeFlags))
            continue;
        if (ScreenshotDetector::isCandidate(event.path, scope, now()))
            enqueue(Job{event.path, JobOrigin::event});
    }
    if (!m_lastSeenWrite.isValid() || m_lastSeenWrite.secsTo(now()) > lastSeenWriteIntervalSeconds)
        stamp();
    if (rescan) {
        revalidateFolders();
        applyWatching(false);
        catchUpMissed(remembered ? std::optional(remembered->addSecs(-catchUpMarginSeconds)) : std::nullopt);
    }
}

void AppModel::catchUpMissed(const std::optional<QDateTime> &since)
{
    if (!since)
        return;
    const QDateTime cutoff = catchUpCutoff(*since, now());
    for (const WatchedFolder &folder : m_settings.folders()) {
        const auto open = m_openFolders.constFind(folder.id);
        if (!folder.enabled || open == m_openFolders.constEnd())
            continue;
        const QStringList found = ScreenshotDetector::screenshots(*open, cutoff);
        for (const QString &path : found)
            enqueue(Job{path, JobOrigin::catchUp});
    }
    stamp();
}

void AppModel::retryPending()
{
    if (!m_settings.autoProcessing())
        return;
    if (!canName()) {
        scheduleRetryCheck();
        return;
    }
    const QStringList activeList = activeFolderPaths();
    const QSet<QString> active(activeList.begin(), activeList.end());
    const QStringList pending = m_history.pendingPaths();
    for (const QString &path : pending) {
        if (m_queuedPaths.contains(path))
            continue;
        const QString parent = QFileInfo(path).absolutePath();
        if (!active.contains(parent) && !active.contains(resolvedPath(parent)))
            continue;
        if (!existsAt(path))
            m_history.removePending(path);
        else
            enqueue(Job{path, JobOrigin::catchUp});
    }
}

void AppModel::scheduleRetryCheck()
{
    if (m_retryArmed || m_history.pendingCount() == 0)
        return;
    m_retryArmed = true;
    retryTimer(++m_retryGeneration);
}

QCoro::Task<> AppModel::retryTimer(quint64 generation)
{
    QPointer<AppModel> self(this);
    co_await QCoro::sleepFor(m_timing.retryInterval);
    if (!self || generation != m_retryGeneration)
        co_return;
    m_retryArmed = false;
    co_await syncAvailability(false);
    if (!self)
        co_return;
    retryPending();
}

QCoro::Task<> AppModel::syncAvailability(bool retry)
{
    QPointer<AppModel> self(this);
    const AIAvailability current = co_await m_availability();
    if (!self)
        co_return;
    setAvailability(current);
    if (!canName()) {
        m_couldName = false;
        if (retry)
            scheduleRetryCheck();
        co_return;
    }
    const bool could = m_couldName;
    m_couldName = true;
    if (retry && !could)
        retryPending();
}

void AppModel::refreshAvailability()
{
    syncAvailability(true);
}

void AppModel::observeWorkspace()
{
    if (m_observing)
        return;
    m_observing = true;
    if (m_power) {
        connect(m_power.get(), &PowerMonitor::aboutToSleep, this, [this] {
            if (m_settings.autoProcessing())
                stamp();
            m_history.saveNow();
        });
        connect(m_power.get(), &PowerMonitor::wokeUp, this, [this] { afterWake(); });
    }
    if (m_mounts) {
        connect(m_mounts.get(), &MountMonitor::mountsChanged, this, [this] {
            revalidateFolders();
            applyWatching(false);
            retryPending();
        });
    }
}

QCoro::Task<> AppModel::afterWake()
{
    QPointer<AppModel> self(this);
    co_await QCoro::sleepFor(m_timing.wakeDelay);
    if (!self)
        co_return;
    revalidateFolders();
    co_await syncAvailability(true);
    if (!self)
        co_return;
    applyWatching(true);
    retryPending();
}

void AppModel::setAutoProcessing(bool on)
{
    if (on == m_settings.autoProcessing())
        return;
    m_settings.setAutoProcessing(on);
    stamp();
    applyWatching(false);
    if (on)
        retryPending();
}

void AppModel::warmUpAfterUpdate()
{
    if (m_settings.warmedBuild() == m_buildNumber)
        return;
    m_settings.setWarmedBuild(m_buildNumber);
    m_analyzer->prewarm(outputLanguage());
}
