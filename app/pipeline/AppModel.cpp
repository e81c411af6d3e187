// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"

#include "AlertPresenter.h"
#include "AppSettings.h"
#include "Clock.h"
#include "FileNameBuilder.h"
#include "FileRenamer.h"
#include "FolderAccess.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "ScreenshotDetector.h"
#include "Titles.h"

#include <QCoroTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr quint32 changeFlags = FolderWatcher::itemCreated | FolderWatcher::itemRenamed | FolderWatcher::itemModified;

// The path with symbolic links resolved, or the cleaned path itself when it cannot be resolved.
QString resolvedPath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

bool existsAt(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// When the file at `path` was born, where the file system records it; modification times do not count.
std::optional<QDateTime> birthTime(const QString &path)
{
    struct statx status
    {
    };
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &status) != 0 ||
        !(status.stx_mask & STATX_BTIME))
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(status.stx_btime.tv_sec * 1000 + status.stx_btime.tv_nsec / 1000000);
}

// The file manager's name of a folder.
QString displayName(const QString &path)
{
    const QString name = QFileInfo(QDir::cleanPath(path)).fileName();
    return name.isEmpty() ? QDir::cleanPath(path) : name;
}

} // namespace

AppModel::AppModel(AppSettings &settings, HistoryStore &history, AppModelServices services, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_history(history)
    , m_analyzer(std::move(services.analyzer))
    , m_notifier(std::move(services.notifier))
    , m_frontApps(std::move(services.frontApps))
    , m_power(std::move(services.power))
    , m_mounts(std::move(services.mounts))
    , m_revealer(std::move(services.revealer))
    , m_availability(std::move(services.availability))
    , m_waitUntilComplete(std::move(services.waitUntilComplete))
    , m_clock(services.clock ? *services.clock : Clock::system())
    , m_bookmarkOptions(std::move(services.bookmarkOptions))
    , m_timing(services.timing)
    , m_ignoreOwnEvents(services.ignoreOwnEvents)
    , m_buildNumber(std::move(services.buildNumber))
    , m_renameCalls([this](const QString &path) { announceOwnChange(path); },
                    services.renameCalls ? *services.renameCalls : RenameCalls::system())
{
    Q_ASSERT(m_analyzer);
    if (!m_availability)
        m_availability = [] { return AIAvailability::current(); };
    if (!m_waitUntilComplete)
        m_waitUntilComplete = [](QString path, std::chrono::milliseconds timeout) {
            return ScreenshotDetector::waitUntilComplete(std::move(path), timeout);
        };
    if (m_settings.folders().isEmpty())
        m_activity = Activity::needsSetup();
    else if (!m_settings.autoProcessing())
        m_activity = Activity::paused();
    else
        m_activity = Activity::idle();
    // The availability cannot be read synchronously; until the first reading it is unknown.
    syncAvailability(false);
}

AppModel::~AppModel()
{
    // The watcher's thread must not deliver into a model that is going away.
    if (m_watcher)
        m_watcher->stop();
    m_watcher.reset();
}

QDateTime AppModel::now() const
{
    return m_clock.now();
}

// ---- Shown state ----

QString AppModel::aiAvailabilityTitle() const
{
    return Titles::title(m_aiAvailability);
}

QStringList AppModel::unavailableFolderIds() const
{
    QStringList ids;
    for (const QUuid &id : m_unavailableFolders)
        ids.append(uuidText(id));
    ids.sort();
    return ids;
}

void AppModel::setActivity(const Activity &activity)
{
    if (m_activity == activity)
        return;
    m_activity = activity;
    Q_EMIT activityChanged();
}

void AppModel::setLastError(const std::optional<QString> &error)
{
    if (m_lastError == error)
        return;
    m_lastError = error;
    Q_EMIT lastErrorChanged();
}

void AppModel::setBatch(const std::optional<Batch> &batch)
{
    if (m_batch == batch)
        return;
    m_batch = batch;
    Q_EMIT batchChanged();
}

void AppModel::setAvailability(const AIAvailability &availability)
{
    if (m_aiAvailability == availability)
        return;
    m_aiAvailability = availability;
    Q_EMIT aiAvailabilityChanged();
}

void AppModel::postError(const QString &file, const QString &message)
{
    if (m_notifier)
        m_notifier->postError(file, message, m_settings.notifications());
}

// ---- Rules ----

QString AppModel::standardizedPath(const QString &path)
{
    return QDir::cleanPath(path);
}

QString AppModel::dateLocaleCode(bool languageFallback, NameLanguage naming, const QString &interfaceCode)
{
    if (languageFallback)
        return QStringLiteral("en");
    if (naming == NameLanguage::ru)
        return QStringLiteral("ru");
    return interfaceCode;
}

QDateTime AppModel::catchUpCutoff(const QDateTime &since, const QDateTime &now)
{
    const QDateTime horizon = now.addSecs(-catchUpHorizonSeconds);
    return since > horizon ? since : horizon;
}

QString AppModel::outputLanguage() const
{
    switch (m_settings.naming().language) {
    case NameLanguage::ru:
        return QStringLiteral("ru");
    case NameLanguage::en:
        return QStringLiteral("en");
    case NameLanguage::automatic:
        break;
    }
    return L10n::code();
}

bool AppModel::canName() const
{
    return m_aiAvailability.isAvailable() || m_settings.ocrFallback();
}

void AppModel::markHandled(const FileID &id)
{
    m_history.registry().handled.insert(id, now());
    m_history.registry().failed.remove(id);
    m_history.trimRegistry();
    m_history.scheduleSave();
}

bool AppModel::registered(QHash<FileID, QDateTime> &entries, const FileID &id, const QString &path)
{
    const auto entry = entries.constFind(id);
    if (entry == entries.cend())
        return false;
    // Inode numbers are reused once a file is deleted: a file born after its entry was written is another file.
    const std::optional<QDateTime> born = birthTime(path);
    if (born && *born > entry.value().addSecs(birthToleranceSeconds)) {
        entries.erase(entry);
        m_history.scheduleSave();
        return false;
    }
    return true;
}

bool AppModel::isHandled(const FileID &id, const QString &path)
{
    return registered(m_history.registry().handled, id, path);
}

bool AppModel::hasFailed(const FileID &id, const QString &path)
{
    return registered(m_history.registry().failed, id, path);
}

void AppModel::markFailed(const FileID &id)
{
    m_history.registry().failed.insert(id, now());
    m_history.trimRegistry();
    m_history.scheduleSave();
}

void AppModel::announceOwnChange(const QString &path)
{
    if (!m_watcher)
        return;
    m_watcher->ignoreOwnChange(path);
    // The watcher reports paths under the resolved folder; a job may have come in through a linked one.
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (!folder.isEmpty()) {
        const QString resolved = folder + QLatin1Char('/') + info.fileName();
        if (resolved != QDir::cleanPath(path))
            m_watcher->ignoreOwnChange(resolved);
    }
}

// ---- Queue and worker ----

bool AppModel::enqueue(const Job &job)
{
    const QString path = standardizedPath(job.path);
    if (m_queuedPaths.contains(path))
        return false;
    const std::optional<FileID> id = FileID::fromPath(path);
    if (!id) {
        m_history.removePending(path);
        return false;
    }
    if (job.origin != JobOrigin::manual) {
        if (isHandled(*id, path)) {
            m_history.removePending(path);
            return false;
        }
        if (job.origin != JobOrigin::scan) {
            if (hasFailed(*id, path)) {
                m_history.removePending(path);
                return false;
            }
            const std::optional<QDateTime> born = birthTime(path);
            const auto seen = m_seenPaths.constFind(*id);
            if (seen != m_seenPaths.constEnd() && seen->path != path && !m_history.isPending(path) &&
                seen->born == born) {
                // Someone else renamed or moved the file after it was first seen: it is theirs now.
                const QString oldPath = seen->path;
                markHandled(*id);
                m_history.removePending(oldPath);
                return false;
            }
            if (m_seenPaths.size() > seenPathsLimit)
                m_seenPaths.clear();
            m_seenPaths.insert(*id, SeenFile{path, born});
            m_history.markPending(path);
        }
    }
    m_queuedPaths.insert(path);
    m_queue.append(Job{path, job.origin});
    if (canName())
        m_analyzer->prewarm(outputLanguage());
    runWorkerIfNeeded();
    return true;
}

void AppModel::runWorkerIfNeeded()
{
    if (m_workerRunning)
        return;
    m_workerRunning = true;
    // Starts on the next turn of the event loop, so that a caller queuing several files (and starting a batch)
    // finishes before the first job runs.
    QTimer::singleShot(0, this, [this] { runWorker(); });
}

QCoro::Task<> AppModel::runWorker()
{
    QPointer<AppModel> self(this);
    while (!m_queue.isEmpty()) {
        const Job job = m_queue.takeFirst();
        setActivity(Activity::working(QFileInfo(job.path).fileName(), static_cast<int>(m_queue.size())));
        const ProcessResult result = co_await process(job, job.path);
        if (!self)
            co_return;
        m_queuedPaths.remove(job.path);
        settle(job, job.path, result.outcome);
        Q_EMIT jobSettled(JobReport{job, result.outcome, result.newPath, result.engine, result.error});
        if (!self)
            co_return;
    }
    m_workerRunning = false;
    finishBatchIfNeeded();
    updateIdleActivity();
    Q_EMIT workerFinished();
}

QCoro::Task<AppModel::ProcessResult> AppModel::process(Job job, QString path)
{
    QPointer<AppModel> self(this);
    const bool automatic = job.isAutomatic();
    const std::optional<FileID> id = FileID::fromPath(path);
    if (!id)
        co_return ProcessResult{Outcome::skipped, {}, {}, {}};
    if (job.origin != JobOrigin::manual && isHandled(*id, path))
        co_return ProcessResult{Outcome::skipped, {}, {}, {}};

    const bool complete = co_await m_waitUntilComplete(path, m_timing.completeTimeout);
    if (!self)
        co_return ProcessResult{Outcome::skipped, {}, {}, {}};
    if (!complete) {
        setLastError(std::nullopt);
        co_return ProcessResult{existsAt(path) ? Outcome::retry : Outcome::skipped, {}, {}, {}};
    }
    if (FileID::fromPath(path) != id)
        co_return ProcessResult{Outcome::skipped, {}, {}, {}};
    if (automatic && !m_settings.autoProcessing())
        co_return ProcessResult{Outcome::deferred, {}, {}, {}};

    co_await syncAvailability(true);
    if (!self)
        co_return ProcessResult{Outcome::skipped, {}, {}, {}};
    const NamingOptions naming = m_settings.naming();
    if (!canName())
        co_return classify(job, path, *id,
                           {AnalyzeResponse::ErrorCode::aiUnavailable, L("error.aiUnavailableKeep"), false});

    const QString fileName = QFileInfo(path).fileName();
    std::optional<QString> appName;
    if (automatic && m_frontApps) {
        const QDateTime created = ScreenshotDetector::creationDate(path).value_or(now());
        appName = m_frontApps->app(FrontAppLog::captureDate(fileName, created));
    }
    AnalyzeRequest request;
    request.nameLanguage = naming.language;
    request.interfaceCode = L10n::code();
    request.ocrFallback = m_settings.ocrFallback();
    request.appName = appName;

    const AnalyzeResult result = co_await m_analyzer->analyze(path, request);
    if (!self)
        co_return ProcessResult{Outcome::skipped, {}, {}, {}};
    if (const auto *failure = std::get_if<AnalyzerFailure>(&result))
        co_return classify(job, path, *id, {failure->code, failure->message, failure->retryable});
    const AnalyzeResponse &response = std::get<AnalyzeResponse>(result);
    if (response.errorCode) {
        const bool busy = *response.errorCode == AnalyzeResponse::ErrorCode::busy;
        co_return classify(job, path, *id,
                           {response.errorCode, response.errorMessage.value_or(L("error.nothingRecognized")), busy});
    }
    if (!response.title || !response.engine)
        co_return classify(job, path, *id,
                           {AnalyzeResponse::ErrorCode::nothingRecognized, L("error.nothingRecognized"), false});

    if (FileID::fromPath(path) != id)
        co_return ProcessResult{Outcome::skipped, {}, {}, {}};
    if (automatic && !m_settings.autoProcessing())
        co_return ProcessResult{Outcome::deferred, {}, {}, {}};

    const QDateTime date = ScreenshotDetector::creationDate(path).value_or(now());
    const QString localeCode = dateLocaleCode(response.languageFallback, naming.language, L10n::code());
    const std::optional<QString> base = FileNameBuilder::base(*response.title, date, naming, QLocale(localeCode));
    if (!base)
        co_return classify(job, path, *id,
                           {AnalyzeResponse::ErrorCode::nothingRecognized, L("error.nothingRecognized"), false});

    const QString originalName = QFileInfo(path).fileName();
    const RenameResult renamed =
        FileRenamer::rename(path, *base, separatorCharacter(naming.separator), id, m_renameCalls);
    if (!renamed.ok()) {
        // Moved, deleted or replaced between the last look and the rename: someone else's file now.
        const RenameError::Kind kind = renamed.error()->kind();
        if (kind == RenameError::Kind::sourceMissing || kind == RenameError::Kind::sourceChanged)
            co_return ProcessResult{Outcome::skipped, {}, {}, {}};
        co_return classify(job, path, *id, {std::nullopt, renamed.error()->description(), false});
    }

    const QFileInfo newInfo(renamed.path());
    const QString folderPath = newInfo.absolutePath();
    std::optional<RenameRecord> record = m_history.record(*id, folderPath);
    if (!record) {
        record = RenameRecord{
            QUuid::createUuid(),          now(), folderPath, originalName, newInfo.fileName(), *response.engine,
            RenameRecord::State::renamed, id};
        m_history.add(*record);
    } else {
        record->currentName = newInfo.fileName();
        record->engine = *response.engine;
        record->state = RenameRecord::State::renamed;
        record->date = now();
        m_history.update(*record);
        markHandled(*id);
    }
    setLastError(std::nullopt);
    if (m_notifier && (automatic || (job.origin == JobOrigin::manual && !m_batch)))
        m_notifier->postRenamed(*record, m_settings.notifications());
    co_return ProcessResult{Outcome::renamed, renamed.path(), response.engine, {}};
}

AppModel::ProcessResult AppModel::classify(const Job &job, const QString &path, const FileID &id,
                                           const JobFailure &failure)
{
    setLastError(failure.message);
    const QString fileName = QFileInfo(path).fileName();
    if (failure.code == AnalyzeResponse::ErrorCode::aiUnavailable) {
        if (!m_notifiedUnavailable && job.isAutomatic()) {
            m_notifiedUnavailable = true;
            postError(fileName, failure.message);
        }
        return {Outcome::deferred, {}, {}, failure.message};
    }
    if (failure.code && failure.retryable) {
        if (job.origin == JobOrigin::manual)
            postError(fileName, failure.message);
        return {Outcome::retry, {}, {}, failure.message};
    }
    markFailed(id);
    if (job.origin != JobOrigin::scan)
        postError(fileName, failure.message);
    return {Outcome::failed, {}, {}, failure.message};
}

void AppModel::settle(const Job &job, const QString &path, Outcome outcome)
{
    if (!job.isAutomatic()) {
        if (m_batch)
            setBatch(
                Batch{m_batch->done + 1, m_batch->total, m_batch->renamed + (outcome == Outcome::renamed ? 1 : 0)});
        if (outcome == Outcome::renamed || outcome == Outcome::failed || outcome == Outcome::skipped)
            m_history.removePending(path);
        return;
    }
    switch (outcome) {
    case Outcome::renamed:
    case Outcome::failed:
    case Outcome::skipped:
        m_history.removePending(path);
        break;
    case Outcome::retry:
        if (m_history.bumpAttempts(path) >= attemptsBeforeGivingUp) {
            m_history.removePending(path);
            if (const std::optional<FileID> id = FileID::fromPath(path))
                markFailed(*id);
            else
                m_history.scheduleSave();
            postError(QFileInfo(path).fileName(), m_lastError.value_or(L("error.gaveUp")));
        } else {
            scheduleRetryCheck();
        }
        break;
    case Outcome::deferred:
        scheduleRetryCheck();
        break;
    }
}

void AppModel::finishBatchIfNeeded()
{
    if (!m_batch)
        return;
    const Batch finished = *m_batch;
    setBatch(std::nullopt);
    if (m_notifier)
        m_notifier->postInfo(L("notif.batch.title"), L("notif.batch.body", finished.renamed, finished.total),
                             m_settings.notifications());
}

void AppModel::updateIdleActivity()
{
    if (m_workerRunning)
        return;
    if (m_settings.folders().isEmpty())
        setActivity(Activity::needsSetup());
    else if (m_settings.autoProcessing())
        setActivity(Activity::idle());
    else
        setActivity(Activity::paused());
}

// ---- Start, stop, watching ----

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

// ---- Folder set ----

void AppModel::openAllFolders()
{
    QList<WatchedFolder> folders = m_settings.folders();
    bool changed = false;
    QSet<QUuid> unavailable;
    for (WatchedFolder &folder : folders) {
        if (!m_openFolders.contains(folder.id)) {
            const auto resolved = FolderBookmark::resolve(folder.bookmark, m_bookmarkOptions);
            const auto *found = std::get_if<FolderBookmark::Resolved>(&resolved);
            if (!found || !FolderBookmark::startAccess(found->path)) {
                unavailable.insert(folder.id);
                continue;
            }
            m_openFolders.insert(folder.id, found->path);
            if (found->stale) {
                if (const std::optional<QByteArray> fresh =
                        FolderBookmark::create(found->path, m_bookmarkOptions.byUuidDir)) {
                    folder.bookmark = *fresh;
                    changed = true;
                }
            }
        }
        const QString opened = resolvedPath(m_openFolders.value(folder.id));
        if (opened != folder.path) {
            folder.path = opened;
            changed = true;
        }
    }
    if (changed)
        m_settings.setFolders(folders);
    if (unavailable != m_unavailableFolders) {
        m_unavailableFolders = unavailable;
        Q_EMIT unavailableFoldersChanged();
    }
}

void AppModel::revalidateFolders()
{
    const QList<WatchedFolder> folders = m_settings.folders();
    for (const WatchedFolder &folder : folders) {
        const auto open = m_openFolders.constFind(folder.id);
        if (open == m_openFolders.constEnd() || folder.bookmark.isEmpty() || QFileInfo(*open).isDir())
            continue;
        FolderBookmark::stopAccess(*open);
        m_openFolders.erase(open);
    }
    openAllFolders();
}

bool AppModel::addFolder(const QString &path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    if (resolved.isEmpty())
        return false;
    QList<WatchedFolder> folders = m_settings.folders();
    for (const WatchedFolder &folder : std::as_const(folders)) {
        if (resolvedPath(folder.path) == resolved)
            return false;
    }
    const std::optional<QByteArray> bookmark = FolderBookmark::create(resolved, m_bookmarkOptions.byUuidDir);
    if (!bookmark)
        return false;
    folders.append(WatchedFolder{QUuid::createUuid(), resolved, *bookmark, true});
    m_settings.setFolders(folders);
    openAllFolders();
    applyWatching(false);
    return true;
}

void AppModel::removeFolder(const QUuid &id)
{
    QList<WatchedFolder> folders = m_settings.folders();
    folders.removeIf([&](const WatchedFolder &folder) { return folder.id == id; });
    m_settings.setFolders(folders);
    if (const auto open = m_openFolders.constFind(id); open != m_openFolders.constEnd()) {
        FolderBookmark::stopAccess(*open);
        m_openFolders.erase(open);
    }
    if (m_unavailableFolders.remove(id))
        Q_EMIT unavailableFoldersChanged();
    applyWatching(false);
}

void AppModel::setFolder(const QUuid &id, bool enabled)
{
    QList<WatchedFolder> folders = m_settings.folders();
    for (WatchedFolder &folder : folders) {
        if (folder.id == id)
            folder.enabled = enabled;
    }
    m_settings.setFolders(folders);
    applyWatching(false);
    if (enabled)
        retryPending();
}

void AppModel::chooseAndAddFolder()
{
    if (!m_folderAccess)
        return;
    const QString suggested = m_settings.folders().isEmpty() ? ScreenshotDetector::systemScreenshotFolder() : QString();
    if (const std::optional<QString> chosen = m_folderAccess->chooseFolder(suggested, L("panel.folderMessage")))
        addFolder(*chosen);
}

// ---- Existing files and manual batches ----

QStringList AppModel::pendingScreenshots(const WatchedFolder &folder)
{
    const auto open = m_openFolders.constFind(folder.id);
    if (open == m_openFolders.constEnd())
        return {};
    QStringList kept;
    const QStringList found = ScreenshotDetector::existingScreenshots(*open);
    for (const QString &path : found) {
        const std::optional<FileID> id = FileID::fromPath(path);
        if (id && !isHandled(*id, path))
            kept.append(path);
    }
    return kept;
}

QCoro::Task<> AppModel::confirmAndProcessExisting(std::optional<QUuid> only)
{
    QPointer<AppModel> self(this);
    QList<WatchedFolder> folders;
    for (const WatchedFolder &folder : m_settings.folders()) {
        if (only ? folder.id == *only : folder.enabled)
            folders.append(folder);
    }
    QStringList files;
    QStringList names;
    for (const WatchedFolder &folder : std::as_const(folders)) {
        files += pendingScreenshots(folder);
        names.append(QString::fromUtf8("«%1»").arg(displayName(folder.path)));
    }
    const QString joined = names.join(QLatin1String(", "));
    if (!m_alerts)
        co_return;
    // Built outside the awaited call: brace lists inside a co_await expression trip the compiler.
    AlertPresenter::Alert alert;
    if (files.isEmpty()) {
        alert.message = L("existing.none.title");
        alert.informativeText = L("existing.none.text", joined);
        alert.buttons.append(L("ok"));
        co_await m_alerts->present(alert);
        co_return;
    }
    alert.message = L("existing.confirm.title", LPlural("count.screenshots", files.size()));
    alert.informativeText = L("existing.confirm.text", joined);
    alert.buttons.append(L("existing.confirm.button"));
    alert.buttons.append(L("cancel"));
    const int choice = co_await m_alerts->present(alert);
    if (!self || choice != 0)
        co_return;
    startBatch(files, JobOrigin::scan, nullptr);
}

QStringList AppModel::renameFiles(const QStringList &files)
{
    QStringList kept;
    for (const QString &file : files) {
        if (ScreenshotDetector::isImageExtension(QFileInfo(file).suffix().toLower()))
            kept.append(QFileInfo(file).absoluteFilePath());
    }
    if (kept.isEmpty())
        return {};
    QSet<QString> openResolved;
    for (const QString &location : std::as_const(m_openFolders))
        openResolved.insert(resolvedPath(location));
    QHash<QString, bool> decided;
    QStringList granted;
    for (const QString &file : std::as_const(kept)) {
        const QString folder = resolvedPath(QFileInfo(file).absolutePath());
        auto accessible = decided.constFind(folder);
        if (accessible == decided.constEnd()) {
            bool ok = openResolved.contains(folder);
            for (auto extra = m_extraFolders.cbegin(); !ok && extra != m_extraFolders.cend(); ++extra)
                ok = folder == extra.key() || folder.startsWith(extra.key() + QLatin1Char('/'));
            // Without a panel to ask through (the command line), naming the files is the grant.
            if (!ok && !m_folderAccess)
                ok = true;
            if (!ok) {
                const std::optional<QString> chosen =
                    m_folderAccess->chooseFolder(folder, L("panel.parentMessage", displayName(folder)));
                if (chosen) {
                    const QString location = resolvedPath(*chosen);
                    if (FolderBookmark::startAccess(location)) {
                        m_extraFolders.insert(location, location);
                        ok = folder == location || folder.startsWith(location + QLatin1Char('/'));
                    }
                }
            }
            accessible = decided.insert(folder, ok);
        }
        // A declined grant leaves that folder's files alone.
        if (*accessible)
            granted.append(file);
    }
    QStringList accepted;
    startBatch(granted, JobOrigin::manual, &accepted);
    return accepted;
}

void AppModel::startBatch(const QStringList &files, JobOrigin origin, QStringList *accepted)
{
    for (const QString &file : files) {
        if (const std::optional<FileID> id = FileID::fromPath(file))
            m_history.clearFailed(*id);
    }
    int count = 0;
    for (const QString &file : files) {
        if (enqueue(Job{file, origin})) {
            ++count;
            if (accepted)
                accepted->append(standardizedPath(file));
        }
    }
    if (count == 0)
        return;
    if (count == 1 && !m_batch)
        return;
    const Batch running = m_batch.value_or(Batch{});
    setBatch(Batch{running.done, running.total + count, running.renamed});
}

void AppModel::cancelQueue()
{
    for (const Job &job : std::as_const(m_queue))
        m_queuedPaths.remove(job.path);
    m_queue.clear();
}

// ---- History actions ----

void AppModel::undo(const RenameRecord &record)
{
    if (record.state != RenameRecord::State::renamed)
        return;
    const RenameResult restored =
        FileRenamer::restore(record.filePath(), record.originalName, record.fileID, m_renameCalls);
    if (!restored.ok()) {
        const QString description = restored.error()->description();
        setLastError(description);
        postError(record.currentName, description);
        return;
    }
    RenameRecord updated = record;
    updated.currentName = QFileInfo(restored.path()).fileName();
    updated.state = RenameRecord::State::undone;
    m_history.update(updated);
}

std::optional<QString> AppModel::rename(const RenameRecord &record, const QString &name)
{
    const QString sanitized = FileNameBuilder::sanitizeManual(name.trimmed());
    if (sanitized.isEmpty())
        return L("error.invalidName");
    const RenameResult renamed = FileRenamer::rename(
        record.filePath(), sanitized, separatorCharacter(m_settings.naming().separator), record.fileID, m_renameCalls);
    if (!renamed.ok())
        return renamed.error()->description();
    RenameRecord updated = record;
    updated.currentName = QFileInfo(renamed.path()).fileName();
    updated.engine = NamingEngineKind::manual;
    updated.state = RenameRecord::State::renamed;
    m_history.update(updated);
    return std::nullopt;
}

void AppModel::reprocess(const RenameRecord &record)
{
    if (fileExists(record))
        enqueue(Job{record.filePath(), JobOrigin::manual});
}

void AppModel::reveal(const RenameRecord &record)
{
    if (!m_revealer)
        return;
    if (fileExists(record))
        m_revealer->reveal(record.filePath());
    else
        m_revealer->openFolder(record.folderPath);
}

bool AppModel::fileExists(const RenameRecord &record) const
{
    return existsAt(record.filePath());
}

// ---- Preview ----

QCoro::Task<AppModel::PreviewOutcome> AppModel::preview(QString path)
{
    QPointer<AppModel> self(this);
    co_await syncAvailability(true);
    if (!self)
        co_return AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QString::fromLatin1("Cancelled"), false};
    const NamingOptions naming = m_settings.naming();
    AnalyzeRequest request;
    request.nameLanguage = naming.language;
    request.interfaceCode = L10n::code();
    request.ocrFallback = m_settings.ocrFallback();

    const AnalyzeResult result = co_await m_analyzer->analyze(path, request);
    if (!self)
        co_return AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QString::fromLatin1("Cancelled"), false};
    if (const auto *failure = std::get_if<AnalyzerFailure>(&result))
        co_return *failure;
    const AnalyzeResponse &response = std::get<AnalyzeResponse>(result);
    if (response.errorCode)
        co_return AnalyzerFailure{*response.errorCode, response.errorMessage.value_or(L("error.nothingRecognized")),
                                  false};
    const QString title = response.title.value_or(QString());
    const QDateTime date = ScreenshotDetector::creationDate(path).value_or(now());
    QString name = FileNameBuilder::base(title, date, naming, QLocale(L10n::code())).value_or(title);
    const QString extension = QFileInfo(path).suffix();
    if (!extension.isEmpty())
        name += QLatin1Char('.') + extension;
    co_return PreviewResult{name, response};
}
