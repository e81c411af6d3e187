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
    // On the first launch nothing older than now is taken.
    const bool firstLaunch = !m_settings.lastSeenDate();
    if (firstLaunch)
        stamp();
    applyWatching(!firstLaunch);
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
    // Files seen up to now must be on record as pending before the date moves past them: a crash in between
    // would leave them neither pending nor caught up.
    if (m_history.isSaveScheduled())
        m_history.saveNow();
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
        refreshUnwatched();
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
        m_watcher->setUnwatchedHandler([this] {
            QMetaObject::invokeMethod(
                this,
                [self = QPointer<AppModel>(this)] {
                    if (self)
                        self->refreshUnwatched();
                },
                Qt::QueuedConnection);
        });
    }
    m_watcher->start(paths);
    refreshUnwatched();
    updateIdleActivity();
    // The date is written at most once a minute while events come in: files of the last minute before a crash may
    // lie before it.
    if (catchUp) {
        const std::optional<QDateTime> lastSeen = m_settings.lastSeenDate();
        catchUpMissed(lastSeen ? std::optional(lastSeen->addSecs(-catchUpMarginSeconds)) : std::nullopt);
    }
}

void AppModel::refreshUnwatched()
{
    QSet<QUuid> unwatched;
    if (m_watcher) {
        const QSet<QString> paths = m_watcher->unwatched();
        for (const WatchedFolder &folder : m_settings.folders()) {
            const auto open = m_openFolders.constFind(folder.id);
            if (folder.enabled && open != m_openFolders.constEnd() && paths.contains(resolvedPath(*open)))
                unwatched.insert(folder.id);
        }
    }
    m_unwatchedFolders = unwatched;
    updateUnavailableFolders();
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
    for (const QString &marked : pending) {
        // A mark left under another form of the path (a linked folder) moves to the standard form.
        const QString path = standardizedPath(marked);
        if (path != marked) {
            m_history.removePending(marked);
            m_history.markPending(path);
        }
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
        // Containers, snaps and FUSE mount and unmount all the time; only changes that can concern a watched
        // folder are worth a look, and each look spends an attempt of every file re-tried.
        connect(m_mounts.get(), &MountMonitor::mountsChanged, this, [this](const QStringList &mountPoints) {
            if (!concernsFolders(mountPoints))
                return;
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
