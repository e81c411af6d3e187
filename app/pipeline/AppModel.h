// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AIAvailability.h"
#include "Activity.h"
#include "AnalyzerFailure.h"
#include "AppModelServices.h"
#include "FileID.h"
#include "FolderWatcher.h"
#include "Job.h"
#include "NamingEngineKind.h"
#include "OwnChangeRenameCalls.h"
#include "PreviewResult.h"
#include "RenameRecord.h"
#include "WatchedFolder.h"

#include <QCoroTask>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <memory>
#include <optional>
#include <variant>

class AlertPresenter;
class AppSettings;
class FolderAccess;
class HistoryStore;

// The application's central model: feeds screenshots from the watched folders, catch-ups, re-tries and the
// user's requests through one queue and one worker that names and renames them, keeps the rename history, and
// shows what it is doing. Lives on the main thread; every wait is a coroutine that holds the model weakly.
class AppModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Activity activity READ activity NOTIFY activityChanged)
    Q_PROPERTY(bool aiAvailable READ aiAvailable NOTIFY aiAvailabilityChanged)
    Q_PROPERTY(QString aiAvailabilityTitle READ aiAvailabilityTitle NOTIFY aiAvailabilityChanged)
    Q_PROPERTY(QString lastError READ lastErrorText NOTIFY lastErrorChanged)
    Q_PROPERTY(bool batchRunning READ batchRunning NOTIFY batchChanged)
    Q_PROPERTY(int batchDone READ batchDone NOTIFY batchChanged)
    Q_PROPERTY(int batchTotal READ batchTotal NOTIFY batchChanged)
    Q_PROPERTY(int batchRenamed READ batchRenamed NOTIFY batchChanged)
    Q_PROPERTY(QStringList unavailableFolderIds READ unavailableFolderIds NOTIFY unavailableFoldersChanged)
    Q_PROPERTY(QStringList unwatchedFolderIds READ unwatchedFolderIds NOTIFY unavailableFoldersChanged)

public:
    // How one job ended.
    enum class Outcome {
        deferred, // stays pending; no attempt counted
        retry,    // stays pending; one attempt counted
        renamed,
        failed,  // marked failed for good
        skipped, // nothing to do: gone, already handled, or replaced
    };
    Q_ENUM(Outcome)

    // Progress of a manual or scan batch.
    struct Batch
    {
        int done = 0;
        int total = 0;
        int renamed = 0;
        friend bool operator==(const Batch &, const Batch &) = default;
    };

    // What became of one job, for observers such as the command line.
    struct JobReport
    {
        Job job;
        Outcome outcome = Outcome::skipped;
        // Where the file is now, when it was renamed.
        QString newPath;
        std::optional<NamingEngineKind> engine;
        // Why it was not renamed, when there is a reason to tell.
        QString error;
    };

    using PreviewOutcome = std::variant<PreviewResult, AnalyzerFailure>;

    // Constants of watching and catch-up.
    static constexpr qint64 lastSeenWriteIntervalSeconds = 60;
    static constexpr qint64 catchUpMarginSeconds = 60;
    static constexpr qint64 catchUpHorizonSeconds = 7 * 24 * 3600;
    static constexpr int seenPathsLimit = 2000;
    static constexpr int attemptsBeforeGivingUp = 3;
    // A registry entry dated this much before a file's birth belongs to an earlier file with the same inode.
    static constexpr qint64 birthToleranceSeconds = 2;

    // `settings` and `history` must outlive the model.
    AppModel(AppSettings &settings, HistoryStore &history, AppModelServices services, QObject *parent = nullptr);
    ~AppModel() override;

    // The interface's modal panels and alerts; not owned, may be set later or reset to null.
    void setFolderAccess(FolderAccess *access) { m_folderAccess = access; }
    void setAlertPresenter(AlertPresenter *alerts) { m_alerts = alerts; }

    // Shown state.
    Activity activity() const { return m_activity; }
    const AIAvailability &aiAvailability() const { return m_aiAvailability; }
    bool aiAvailable() const { return m_aiAvailability.isAvailable(); }
    QString aiAvailabilityTitle() const;
    const std::optional<QString> &lastError() const { return m_lastError; }
    QString lastErrorText() const { return m_lastError.value_or(QString()); }
    const std::optional<Batch> &batch() const { return m_batch; }
    bool batchRunning() const { return m_batch.has_value(); }
    int batchDone() const { return m_batch ? m_batch->done : 0; }
    int batchTotal() const { return m_batch ? m_batch->total : 0; }
    int batchRenamed() const { return m_batch ? m_batch->renamed : 0; }
    // Folders that could not be opened or that the watcher is not watching now (missing, unmounted, no access).
    const QSet<QUuid> &unavailableFolders() const { return m_unavailableFolders; }
    QStringList unavailableFolderIds() const;
    // Of those, the open folders the watcher could not watch; it keeps trying them.
    const QSet<QUuid> &unwatchedFolders() const { return m_unwatchedFolders; }
    QStringList unwatchedFolderIds() const;

    // Inspection for the interface and tests.
    bool isWorking() const { return m_workerRunning; }
    int queuedCount() const { return static_cast<int>(m_queue.size()); }
    bool isWatching() const { return m_watcher && m_watcher->isRunning(); }
    bool isRetryArmed() const { return m_retryArmed; }
    // Folder id -> the opened location.
    const QHash<QUuid, QString> &openFolders() const { return m_openFolders; }
    const QHash<QString, QString> &extraFolders() const { return m_extraFolders; }
    Notifier *notifier() const { return m_notifier.get(); }
    FrontAppLog *frontApps() const { return m_frontApps.get(); }

    // Queues a job unless it is a duplicate or the history rejects it; true when queued.
    bool enqueue(const Job &job);
    // The resting activity for the current settings; no change while the worker runs.
    void updateIdleActivity();
    // One batch of folder events, as the watcher delivers them on the main thread.
    void handle(const QList<FolderWatcher::Event> &events);

    // Launch: opens the folders, reads the model's availability, observes sleep, wake and mounts, starts
    // watching, catches up on what was missed, re-tries pending files and warms the analyzer after an update.
    QCoro::Task<> start();
    // Quit: records the last-seen date when watching, stops the watcher, saves the history, releases folders.
    void shutdown();
    // The switch for automatic processing.
    Q_INVOKABLE void setAutoProcessing(bool on);
    // Reads the model's availability; with `retry`, pending files are taken up at once when naming just became
    // possible, or the re-try timer is armed when it is not.
    QCoro::Task<> syncAvailability(bool retry);
    // The same, for callers that do not wait (windows and panels being shown).
    Q_INVOKABLE void refreshAvailability();

    // The folder set.
    bool addFolder(const QString &path);
    void removeFolder(const QUuid &id);
    void setFolder(const QUuid &id, bool enabled);
    void chooseAndAddFolder();

    // Existing files and manual batches.
    QStringList pendingScreenshots(const WatchedFolder &folder);
    // Asks before queuing the unhandled screenshots of one folder, or of every enabled folder.
    QCoro::Task<> confirmAndProcessExisting(std::optional<QUuid> only = std::nullopt);
    // Names image files the user chose; returns the files that were queued.
    QStringList renameFiles(const QStringList &files);
    // Drops every job still waiting; the one in work goes on.
    Q_INVOKABLE void cancelQueue();

    // History actions.
    void undo(const RenameRecord &record);
    // Absent on success, else the text to show.
    std::optional<QString> rename(const RenameRecord &record, const QString &name);
    void reprocess(const RenameRecord &record);
    void reveal(const RenameRecord &record);
    bool fileExists(const RenameRecord &record) const;

    // The name a file would get now, without renaming anything.
    QCoro::Task<PreviewOutcome> preview(QString path);

    // "ru" or "en" for a fixed naming language, else the interface language.
    QString outputLanguage() const;

    // Rules with no state of their own.
    static QString standardizedPath(const QString &path);
    // The date text's locale code: English when the analyzer fell back to it, else the naming language when it is
    // Russian, else the interface language.
    static QString dateLocaleCode(bool languageFallback, NameLanguage naming, const QString &interfaceCode);
    // The earliest creation date a catch-up looks at.
    static QDateTime catchUpCutoff(const QDateTime &since, const QDateTime &now);

Q_SIGNALS:
    void activityChanged();
    void aiAvailabilityChanged();
    void lastErrorChanged();
    void batchChanged();
    void unavailableFoldersChanged();
    void jobSettled(const AppModel::JobReport &report);
    // Each folder event as it arrives, before any rule looks at it (for diagnostics).
    void eventReceived(const QString &path, quint32 flags);
    // The worker found the queue empty and stopped.
    void workerFinished();

private:
    struct ProcessResult
    {
        Outcome outcome;
        QString newPath;
        std::optional<NamingEngineKind> engine;
        QString error;
    };
    struct JobFailure
    {
        std::optional<AnalyzeResponse::ErrorCode> code;
        QString message;
        bool retryable = false;
    };

    void runWorkerIfNeeded();
    QCoro::Task<> runWorker();
    QCoro::Task<ProcessResult> process(Job job, QString path);
    ProcessResult classify(const Job &job, const QString &path, const FileID &id, const JobFailure &failure);
    void settle(const Job &job, const QString &path, Outcome outcome);
    void finishBatchIfNeeded();

    void openAllFolders();
    void revalidateFolders();
    void refreshUnwatched();
    void updateUnavailableFolders();
    // Whether a change of these mount points can concern a watched folder.
    bool concernsFolders(const QStringList &mountPoints) const;
    QStringList activeFolderPaths() const;
    void applyWatching(bool catchUp);
    void catchUpMissed(const std::optional<QDateTime> &since);
    void retryPending();
    void scheduleRetryCheck();
    QCoro::Task<> retryTimer(quint64 generation);
    void observeWorkspace();
    QCoro::Task<> afterWake();
    void warmUpAfterUpdate();
    void stamp();
    bool canName() const;
    void startBatch(const QStringList &files, JobOrigin origin, QStringList *accepted);
    void announceOwnChange(const QString &path);
    void markHandled(const FileID &id);
    // Registry look-ups that drop an entry left by an earlier file with the same inode.
    bool registered(QHash<FileID, QDateTime> &entries, const FileID &id, const QString &path);
    bool isHandled(const FileID &id, const QString &path);
    bool hasFailed(const FileID &id, const QString &path);
    void markFailed(const FileID &id);

    void setActivity(const Activity &activity);
    void setLastError(const std::optional<QString> &error);
    void setBatch(const std::optional<Batch> &batch);
    void setAvailability(const AIAvailability &availability);
    void postError(const QString &file, const QString &message);
    QDateTime now() const;

    AppSettings &m_settings;
    HistoryStore &m_history;
    std::unique_ptr<Analyzer> m_analyzer;
    std::unique_ptr<Notifier> m_notifier;
    std::unique_ptr<FrontAppLog> m_frontApps;
    std::unique_ptr<PowerMonitor> m_power;
    std::unique_ptr<MountMonitor> m_mounts;
    std::unique_ptr<FileRevealer> m_revealer;
    std::function<QCoro::Task<AIAvailability>()> m_availability;
    std::function<QCoro::Task<bool>(QString, std::chrono::milliseconds)> m_waitUntilComplete;
    const Clock &m_clock;
    FolderBookmark::Options m_bookmarkOptions;
    AppModelTiming m_timing;
    const bool m_ignoreOwnEvents;
    QString m_buildNumber;
    FolderAccess *m_folderAccess = nullptr;
    AlertPresenter *m_alerts = nullptr;
    OwnChangeRenameCalls m_renameCalls;

    Activity m_activity;
    AIAvailability m_aiAvailability = AIAvailability::unknown(QString());
    std::optional<QString> m_lastError;
    std::optional<Batch> m_batch;
    QSet<QUuid> m_unavailableFolders;
    QSet<QUuid> m_unopenedFolders;
    QSet<QUuid> m_unwatchedFolders;

    std::unique_ptr<FolderWatcher> m_watcher;
    QHash<QUuid, QString> m_openFolders;
    QHash<QString, QString> m_extraFolders;
    QList<Job> m_queue;
    QSet<QString> m_queuedPaths;
    struct SeenFile
    {
        QString path;
        // Tells a renamed file from a new one that got a deleted file's inode; absent where not recorded.
        std::optional<QDateTime> born;
    };
    QHash<FileID, SeenFile> m_seenPaths;
    bool m_workerRunning = false;
    bool m_notifiedUnavailable = false;
    bool m_retryArmed = false;
    quint64 m_retryGeneration = 0;
    bool m_observing = false;
    QDateTime m_lastSeenWrite;
    bool m_couldName = false;
};

Q_DECLARE_METATYPE(AppModel::JobReport)
