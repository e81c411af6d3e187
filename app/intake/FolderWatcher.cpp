// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FolderWatcher.h"

#include "NativePath.h"
#include "ScreenshotDetector.h"

#include <QDir>
#include <QFile>
#include <QMetaObject>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr quint32 watchMask =
    IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr quint32 rootGoneMask = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;
} // namespace

// One inotify instance over the watched folders, living on the watcher's thread.
class FolderWatcher::Stream : public QObject
{
public:
    Stream(FolderWatcher &owner, quint64 id)
        : m_owner(owner)
        , m_id(id)
        , m_retryDelay(owner.m_firstRetry)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            const QList<Event> batch = std::move(m_pending);
            m_pending.clear();
            m_pendingIndex.clear();
            m_owner.deliver(batch);
        });
        m_retryTimer.setSingleShot(true);
        QObject::connect(&m_retryTimer, &QTimer::timeout, this, [this] {
            m_retryDelay = std::min(m_retryDelay * 2, maxRetryDelay);
            rearm();
        });
    }

    ~Stream() override
    {
        delete m_notifier;
        if (m_fd >= 0)
            ::close(m_fd);
    }

    quint64 id() const { return m_id; }
    bool watchesAny() const { return !m_roots.isEmpty(); }
    const QSet<QString> &unwatched() const { return m_unwatched; }

    // False when inotify itself cannot be had; folders that cannot be watched yet are tried again later.
    bool open(const QSet<QString> &paths)
    {
        m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd < 0)
            return false;
        m_paths = paths;
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, this, [this] { readEvents(); });
        rearm();
        return true;
    }

    // Asked again for the same folders: try now whatever is not watched as it should be.
    void recheck()
    {
        m_retryDelay = m_owner.m_firstRetry;
        rearm();
    }

private:
    struct Root
    {
        QString path;
        // The folder the watch is on; the path may come to name another one.
        quint64 device = 0;
        quint64 inode = 0;
    };

    static std::optional<std::pair<quint64, quint64>> identity(const QString &path)
    {
        struct stat st
        {
        };
        if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            return std::nullopt;
        return std::pair<quint64, quint64>(st.st_dev, st.st_ino);
    }

    void addWatch(const QString &path)
    {
        const auto before = identity(path);
        const int wd = before ? inotify_add_watch(m_fd, QFile::encodeName(path).constData(), watchMask) : -1;
        if (wd < 0) {
            m_unwatched.insert(path);
            return;
        }
        m_roots.insert(wd, Root{path, before->first, before->second});
        m_unwatched.remove(path);
    }

    // Watches every folder that has no watch, or whose watch is on a folder its path no longer names.
    void rearm()
    {
        QHash<QString, int> watchOf;
        for (auto it = m_roots.cbegin(); it != m_roots.cend(); ++it)
            watchOf.insert(it->path, it.key());
        for (const QString &path : std::as_const(m_paths)) {
            const auto wd = watchOf.constFind(path);
            if (wd != watchOf.cend()) {
                const Root &root = m_roots.value(*wd);
                if (identity(path) == std::pair(root.device, root.inode))
                    continue;
                // Its IN_IGNORED finds no root and is dropped.
                m_roots.remove(*wd);
                inotify_rm_watch(m_fd, *wd);
            }
            addWatch(path);
        }
        settle();
    }

    // Reports a change of the unwatched folders and keeps trying them.
    void settle()
    {
        if (m_unwatched.isEmpty()) {
            m_retryTimer.stop();
            m_retryDelay = m_owner.m_firstRetry;
        } else if (!m_retryTimer.isActive()) {
            m_retryTimer.start(m_retryDelay);
        }
        if (m_unwatched != m_reported) {
            m_reported = m_unwatched;
            if (m_owner.m_unwatchedHandler)
                m_owner.m_unwatchedHandler();
        }
    }

    void readEvents()
    {
        alignas(struct inotify_event) char buffer[16 * 1024];
        for (;;) {
            const ssize_t length = ::read(m_fd, buffer, sizeof buffer);
            if (length < 0 && errno == EINTR)
                continue;
            if (length <= 0)
                break;
            for (ssize_t offset = 0; offset < length;) {
                const auto *event = reinterpret_cast<const struct inotify_event *>(buffer + offset);
                offset += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
                handle(*event);
            }
        }
        if (!m_pending.isEmpty() && !m_timer.isActive())
            m_timer.start(m_owner.m_latency);
    }

    void handle(const struct inotify_event &event)
    {
        if (event.mask & IN_Q_OVERFLOW) {
            // The kernel dropped events: every folder needs a rescan.
            for (const QString &root : std::as_const(m_paths))
                coalesce(m_pending, m_pendingIndex, {root, flagsFor(event.mask, true)});
            return;
        }
        const auto root = m_roots.constFind(event.wd);
        if (root == m_roots.constEnd())
            return;
        const bool onRoot = event.len == 0 || event.name[0] == '\0';
        const QString path = onRoot ? root->path : root->path + u'/' + NativePath::decode(QByteArray(event.name));
        const quint32 flags = flagsFor(event.mask, onRoot);
        if (flags != 0 && !(m_owner.m_ignoreSelf && !onRoot && m_owner.isIgnored(path)))
            coalesce(m_pending, m_pendingIndex, {path, flags});
        if (onRoot && (event.mask & rootGoneMask)) {
            // The watch followed the folder's inode away (or lost it); watch whatever is at the path now.
            const QString rootPath = root->path;
            m_roots.remove(event.wd);
            if (!(event.mask & IN_IGNORED))
                inotify_rm_watch(m_fd, event.wd);
            addWatch(rootPath);
            settle();
        }
    }

    FolderWatcher &m_owner;
    const quint64 m_id;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QSet<QString> m_paths;
    QHash<int, Root> m_roots;
    QSet<QString> m_unwatched;
    QSet<QString> m_reported;
    QList<Event> m_pending;
    QHash<QString, qsizetype> m_pendingIndex;
    QTimer m_timer;
    QTimer m_retryTimer;
    std::chrono::milliseconds m_retryDelay;
};

FolderWatcher::FolderWatcher(bool ignoreSelf, std::chrono::milliseconds latency, Handler handler,
                             std::chrono::milliseconds firstRetry)
    : m_ignoreSelf(ignoreSelf)
    , m_latency(latency)
    , m_handler(std::move(handler))
    , m_firstRetry(firstRetry)
    , m_thread(new QThread)
    , m_context(new QObject)
{
    m_thread->setObjectName(QStringLiteral("org.zentrope.watcher"));
    m_context->moveToThread(m_thread);
    m_thread->start(QThread::LowPriority);
}

FolderWatcher::~FolderWatcher()
{
    runOnQueue([this] {
        stopOnQueue();
        delete m_context;
    });
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

void FolderWatcher::runOnQueue(const std::function<void()> &body) const
{
    if (QThread::currentThread() == m_thread)
        body();
    else
        QMetaObject::invokeMethod(m_context, body, Qt::BlockingQueuedConnection);
}

void FolderWatcher::start(const QStringList &paths)
{
    runOnQueue([this, &paths] {
        QSet<QString> wanted;
        for (const QString &path : paths)
            wanted.insert(QDir::cleanPath(path));
        if (m_stream && wanted == m_watched) {
            m_stream->recheck();
            return;
        }
        stopOnQueue();
        if (wanted.isEmpty())
            return;
        // Kept even when the stream cannot be made, so that the same paths are tried again later.
        m_watched = wanted;
        auto *stream = new Stream(*this, ++m_lastStreamId);
        if (stream->open(m_watched))
            m_stream = stream;
        else
            delete stream;
    });
}

void FolderWatcher::stop()
{
    runOnQueue([this] { stopOnQueue(); });
}

void FolderWatcher::stopOnQueue()
{
    delete m_stream;
    m_stream = nullptr;
    m_watched.clear();
}

bool FolderWatcher::isRunning() const
{
    bool running = false;
    runOnQueue([this, &running] { running = m_stream && m_stream->watchesAny(); });
    return running;
}

QSet<QString> FolderWatcher::unwatched() const
{
    QSet<QString> paths;
    runOnQueue([this, &paths] {
        if (m_stream)
            paths = m_stream->unwatched();
        else if (!m_watched.isEmpty())
            paths = m_watched;
    });
    return paths;
}

void FolderWatcher::setUnwatchedHandler(std::function<void()> handler)
{
    runOnQueue([this, &handler] { m_unwatchedHandler = std::move(handler); });
}

quint64 FolderWatcher::streamId() const
{
    quint64 id = 0;
    runOnQueue([this, &id] { id = m_stream ? m_stream->id() : 0; });
    return id;
}

void FolderWatcher::ignoreOwnChange(const QString &path)
{
    const auto now = std::chrono::steady_clock::now();
    const std::lock_guard lock(m_ignoredMutex);
    for (auto it = m_ignored.begin(); it != m_ignored.end();) {
        if (it.value() <= now)
            it = m_ignored.erase(it);
        else
            ++it;
    }
    m_ignored.insert(QDir::cleanPath(path), now + ownChangeWindow);
}

bool FolderWatcher::isIgnored(const QString &path)
{
    const std::lock_guard lock(m_ignoredMutex);
    const auto it = m_ignored.constFind(path);
    return it != m_ignored.constEnd() && std::chrono::steady_clock::now() < it.value();
}

void FolderWatcher::deliver(const QList<Event> &raw)
{
    QList<Event> kept;
    for (const Event &event : raw) {
        if (keeps(event, m_watched))
            kept.append(event);
    }
    if (!kept.isEmpty() && m_handler)
        m_handler(kept);
}

quint32 FolderWatcher::flagsFor(quint32 mask, bool onRoot)
{
    quint32 flags = 0;
    if (mask & IN_Q_OVERFLOW)
        flags |= kernelDropped;
    if (onRoot) {
        if (mask & rootGoneMask)
            flags |= rootChanged;
        return flags;
    }
    if (mask & IN_CREATE)
        flags |= itemCreated;
    if (mask & IN_MOVED_TO)
        flags |= itemRenamed;
    if (mask & (IN_MODIFY | IN_CLOSE_WRITE))
        flags |= itemModified;
    if (mask & IN_ATTRIB)
        flags |= itemInodeMetaMod;
    if (flags & (itemCreated | itemRenamed | itemModified | itemInodeMetaMod))
        flags |= (mask & IN_ISDIR) ? itemIsDir : itemIsFile;
    return flags;
}

bool FolderWatcher::keeps(const Event &event, const QSet<QString> &watched)
{
    if (event.flags & rescanMask)
        return true;
    if (!(event.flags & itemIsFile))
        return false;
    const qsizetype slash = event.path.lastIndexOf(u'/');
    if (slash < 0)
        return false;
    // Only direct entries of a watched folder: subfolders are not watched.
    if (!watched.contains(event.path.left(slash)))
        return false;
    const QString name = event.path.mid(slash + 1);
    if (name.startsWith(u'.'))
        return false;
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && ScreenshotDetector::isImageExtension(name.mid(dot + 1).toLower());
}

void FolderWatcher::coalesce(QList<Event> &batch, QHash<QString, qsizetype> &index, const Event &event)
{
    const auto earlier = index.constFind(event.path);
    if (earlier != index.constEnd()) {
        batch[*earlier].flags |= event.flags;
        return;
    }
    index.insert(event.path, batch.size());
    batch.append(event);
}
