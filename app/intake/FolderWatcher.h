// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

class QThread;
class QObject;

// Reports image files appearing or changing in the watched folders, in coalesced batches, from its own thread.
class FolderWatcher
{
public:
    // Event flags, with the values the pipeline tests for.
    enum Flag : quint32 {
        mustScanSubDirs = 0x1,
        userDropped = 0x2,
        kernelDropped = 0x4,
        rootChanged = 0x20,
        itemCreated = 0x100,
        itemRemoved = 0x200,
        itemInodeMetaMod = 0x400,
        itemRenamed = 0x800,
        itemModified = 0x1000,
        itemIsFile = 0x10000,
        itemIsDir = 0x20000,
    };
    // Events with these flags are delivered whatever their path: the folder needs a rescan.
    static constexpr quint32 rescanMask = mustScanSubDirs | userDropped | kernelDropped | rootChanged;

    struct Event
    {
        QString path;
        quint32 flags = 0;
        bool operator==(const Event &) const = default;
    };
    using Handler = std::function<void(const QList<Event> &)>;

    // A folder that cannot be watched is tried again after this, then after twice as long, up to maxRetryDelay.
    static constexpr std::chrono::milliseconds defaultFirstRetry{2000};
    static constexpr std::chrono::milliseconds maxRetryDelay{300000};

    // `handler` is called on the watcher's thread with each non-empty batch. With `ignoreSelf`, events for paths
    // passed to ignoreOwnChange() are left out for a few seconds.
    FolderWatcher(bool ignoreSelf, std::chrono::milliseconds latency, Handler handler,
                  std::chrono::milliseconds firstRetry = defaultFirstRetry);
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher &) = delete;
    FolderWatcher &operator=(const FolderWatcher &) = delete;

    // Watches exactly `paths`; an empty list stops. Called again with the same set, the stream stays and every
    // folder whose watch failed, or whose path now names another folder (a file system mounted over it), is
    // watched anew. Synchronous; must not be called from the handler.
    void start(const QStringList &paths);
    void stop();
    // Whether some folder is watched.
    bool isRunning() const;
    // The folders asked for that are not watched now (missing, no access, no inotify watches left); they are tried
    // again with a growing delay.
    QSet<QString> unwatched() const;
    // Called on the watcher's thread whenever unwatched() changes.
    void setUnwatchedHandler(std::function<void()> handler);
    // Identity of the running event stream (0 when stopped); a new stream gets a new number.
    quint64 streamId() const;

    // The application is about to rename from or to `path`: its own events there are not news.
    void ignoreOwnChange(const QString &path);
    static constexpr std::chrono::seconds ownChangeWindow{3};

    // The flags of one inotify event; `onRoot` when it concerns a watched folder itself.
    static quint32 flagsFor(quint32 inotifyMask, bool onRoot);
    // Whether an event is handed on, given the folders watched.
    static bool keeps(const Event &event, const QSet<QString> &watched);
    // Adds `event` to `batch`, merging its flags into an earlier event for the same path; `index` maps the paths in
    // `batch` to their positions.
    static void coalesce(QList<Event> &batch, QHash<QString, qsizetype> &index, const Event &event);

private:
    class Stream;
    void runOnQueue(const std::function<void()> &body) const;
    void stopOnQueue();
    void deliver(const QList<Event> &raw);
    bool isIgnored(const QString &path);

    const bool m_ignoreSelf;
    const std::chrono::milliseconds m_latency;
    const Handler m_handler;
    const std::chrono::milliseconds m_firstRetry;
    std::function<void()> m_unwatchedHandler;
    QThread *m_thread = nullptr;
    QObject *m_context = nullptr;
    // Owned by the queue: touched only on m_thread.
    Stream *m_stream = nullptr;
    QSet<QString> m_watched;
    quint64 m_lastStreamId = 0;

    std::mutex m_ignoredMutex;
    QHash<QString, std::chrono::steady_clock::time_point> m_ignored;
};
