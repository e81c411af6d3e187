// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"

#include "AppSettings.h"
#include "FolderAccess.h"
#include "L10n.h"
#include "PipelinePaths.h"
#include "ScreenshotDetector.h"

#include <QFileInfo>

using namespace PipelinePaths;

void AppModel::openAllFolders()
{
    QList<WatchedFolder> folders = m_settings.folders();
    bool changed = false;
    QSet<QUuid> unopened;
    for (WatchedFolder &folder : folders) {
        if (!m_openFolders.contains(folder.id)) {
            const auto resolved = FolderBookmark::resolve(folder.bookmark, m_bookmarkOptions);
            const auto *found = std::get_if<FolderBookmark::Resolved>(&resolved);
            if (!found || !FolderBookmark::startAccess(found->path)) {
                unopened.insert(folder.id);
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
    m_unopenedFolders = unopened;
    updateUnavailableFolders();
}

void AppModel::updateUnavailableFolders()
{
    const QSet<QUuid> unavailable = m_unopenedFolders | m_unwatchedFolders;
    if (unavailable == m_unavailableFolders)
        return;
    m_unavailableFolders = unavailable;
    Q_EMIT unavailableFoldersChanged();
}

bool AppModel::concernsFolders(const QStringList &mountPoints) const
{
    for (const WatchedFolder &folder : m_settings.folders()) {
        const QString opened = m_openFolders.value(folder.id);
        for (const QString &point : mountPoints) {
            const QString prefix = point.endsWith(u'/') ? point : point + u'/';
            for (const QString &path : {folder.path, opened}) {
                if (!path.isEmpty() && (path == point || path.startsWith(prefix)))
                    return true;
            }
        }
    }
    return false;
}

void AppModel::revalidateFolders()
{
    const QList<WatchedFolder> folders = m_settings.folders();
    for (const WatchedFolder &folder : folders) {
        const auto open = m_openFolders.constFind(folder.id);
        if (open == m_openFolders.constEnd() || folder.bookmark.isEmpty())
            continue;
        // A folder whose file system was unmounted leaves an empty folder at its path: the bookmark tells them
        // apart.
        if (QFileInfo(*open).isDir()) {
            const auto resolved = FolderBookmark::resolve(folder.bookmark, m_bookmarkOptions);
            const auto *found = std::get_if<FolderBookmark::Resolved>(&resolved);
            if (found && !found->stale && found->path == *open)
                continue;
        }
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
    m_unopenedFolders.remove(id);
    m_unwatchedFolders.remove(id);
    updateUnavailableFolders();
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
