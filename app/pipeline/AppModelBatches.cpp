// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"

#include "AlertPresenter.h"
#include "AppSettings.h"
#include "FolderAccess.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "PipelinePaths.h"
#include "ScreenshotDetector.h"

#include <QFileInfo>
#include <QPointer>

using namespace PipelinePaths;

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
            // A folder the user may write to needs no grant on Linux; only one that cannot be written is asked for.
            bool ok = openResolved.contains(folder) || QFileInfo(folder).isWritable();
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
    QSet<QString> queued;
    for (const QString &file : files) {
        if (enqueue(Job{file, origin})) {
            queued.insert(standardizedPath(file));
            if (accepted)
                accepted->append(standardizedPath(file));
        }
    }
    const int count = static_cast<int>(queued.size());
    if (count == 0)
        return;
    if (count == 1 && !m_batch)
        return;
    // Only the files accepted here belong to the batch; a job already in work or queued later does not.
    for (Job &job : m_queue) {
        if (queued.contains(job.path))
            job.batched = true;
    }
    const Batch running = m_batch.value_or(Batch{});
    setBatch(Batch{running.done, running.total + count, running.renamed});
}

void AppModel::cancelQueue()
{
    bool automatic = false;
    for (const Job &job : std::as_const(m_queue)) {
        m_queuedPaths.remove(job.path);
        automatic = automatic || job.isAutomatic();
    }
    m_queue.clear();
    // Their pending marks remain; the re-try timer takes them up again.
    if (automatic)
        scheduleRetryCheck();
}
