// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"

#include "AppSettings.h"
#include "FileNameBuilder.h"
#include "FileRenamer.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "PipelinePaths.h"
#include "ScreenshotDetector.h"

#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QTimer>

using namespace PipelinePaths;

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
                seen->born == born && FileID::fromPath(seen->path) != id) {
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
    // Waiting for a file that cannot be read would only end in a vague failure ten seconds later.
    if (const int error = openError(path); error == EACCES || error == EPERM)
        co_return classify(job, path, *id, {std::nullopt, L("error.permissionDenied"), false});

    const bool complete = co_await m_waitUntilComplete(path, m_timing.completeTimeout);
    if (!self)
        co_return ProcessResult{Outcome::skipped, {}, {}, {}};
    if (!complete) {
        if (!existsAt(path))
            co_return ProcessResult{Outcome::skipped, {}, {}, {}};
        // A file the user chose is not tried again by itself: say why it was not named.
        if (!automatic)
            co_return classify(job, path, *id, {std::nullopt, L("error.incompleteImage"), false});
        setLastError(std::nullopt);
        co_return ProcessResult{Outcome::retry, {}, {}, {}};
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
    if (m_notifier && (automatic || (job.origin == JobOrigin::manual && !job.batched)))
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
        if (job.batched && m_batch)
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
