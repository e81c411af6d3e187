// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FolderWatcher.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>

#include <sys/inotify.h>

using namespace std::chrono_literals;
using Event = FolderWatcher::Event;

namespace {

constexpr quint32 created = FolderWatcher::itemCreated;
constexpr quint32 renamed = FolderWatcher::itemRenamed;
constexpr quint32 modified = FolderWatcher::itemModified;
constexpr quint32 isFile = FolderWatcher::itemIsFile;

// Gathers what the watcher delivers on its own thread.
struct Collector
{
    std::mutex mutex;
    QList<Event> delivered;
    std::atomic<int> emptyBatches = 0;

    FolderWatcher::Handler handler()
    {
        return [this](const QList<Event> &batch) {
            const std::lock_guard lock(mutex);
            delivered += batch;
            emptyBatches += batch.isEmpty();
        };
    }
    QList<Event> events()
    {
        const std::lock_guard lock(mutex);
        return delivered;
    }
    // Waits until some delivered event is about `path`.
    bool waitForPath(const QString &path, int timeoutMs = 5000)
    {
        return QTest::qWaitFor(
            [&] { return std::ranges::any_of(events(), [&](const Event &e) { return e.path == path; }); }, timeoutMs);
    }
};

TEST(FolderWatcherTest, mapsAndFiltersEvents)
{
    const QSet<QString> watched{QStringLiteral("/home/u/Pictures"), QStringLiteral("/home/u/Desktop")};
    const std::pair<Event, bool> cases[] = {
        {{QStringLiteral("/home/u/Pictures/Screenshot.png"), created | isFile}, true},
        {{QStringLiteral("/home/u/Pictures/doc.pdf"), created | isFile}, false},
        {{QStringLiteral("/home/u/Pictures/.hidden.png"), created | isFile}, false},
        {{QStringLiteral("/home/u/Pictures/folder.png"), created | FolderWatcher::itemIsDir}, false},
        {{QStringLiteral("/home/u/Other/shot.png"), created | isFile}, false},
        // Rescan requests pass whatever their path.
        {{QStringLiteral("/x/.y"), FolderWatcher::mustScanSubDirs}, true},
    };
    for (const auto &[event, kept] : cases)
        EXPECT_EQ(FolderWatcher::keeps(event, watched), kept) << event.path.toStdString();

    // What the kernel reports on the folder itself: a lost queue or a lost folder asks for a rescan.
    EXPECT_EQ(FolderWatcher::flagsFor(IN_Q_OVERFLOW, true), FolderWatcher::kernelDropped);
    EXPECT_EQ(FolderWatcher::flagsFor(IN_DELETE_SELF, true), FolderWatcher::rootChanged);
    EXPECT_EQ(FolderWatcher::flagsFor(IN_ATTRIB, true), 0u);
    EXPECT_EQ(FolderWatcher::flagsFor(IN_CREATE | IN_ISDIR, false), created | FolderWatcher::itemIsDir);
}

TEST(FolderWatcherTest, reportsNewAndRenamedImagesDirectlyInTheFolderUntilStopped)
{
    TempDir watched, elsewhere, other;
    Collector collector;
    FolderWatcher watcher(false, 100ms, collector.handler());
    watcher.start({watched.path(), other.path()});
    const quint64 first = watcher.streamId();
    watcher.start({other.path() + u'/', watched.path()});
    EXPECT_EQ(watcher.streamId(), first) << "the same folders keep the running stream";
    watcher.start({watched.path()});
    EXPECT_NE(watcher.streamId(), first);

    watched.write(QStringLiteral("sub/Screenshot 2026-11-12 at 10.42.17.png"), "png");
    watched.write(QStringLiteral("document.pdf"), "pdf");
    other.write(QStringLiteral("unwatched.png"), "png");
    const QString shot = watched.write(QStringLiteral("SHOT.PNG"), "png");
    ASSERT_TRUE(collector.waitForPath(shot));
    const QString renamedIn = watched.filePath(QStringLiteral("image.jpg"));
    ASSERT_TRUE(QFile::rename(elsewhere.write(QStringLiteral("image.jpg"), "jpeg"), renamedIn));
    ASSERT_TRUE(collector.waitForPath(renamedIn));

    QSet<QString> paths;
    for (const Event &event : collector.events()) {
        paths.insert(event.path);
        const quint32 expected = event.path == shot ? created | modified | isFile : renamed | isFile;
        EXPECT_EQ(event.flags & expected, expected) << event.path.toStdString();
    }
    EXPECT_EQ(paths, (QSet<QString>{shot, renamedIn}));
    EXPECT_EQ(collector.emptyBatches, 0) << "a batch with nothing left is not delivered";

    watcher.stop();
    EXPECT_FALSE(watcher.isRunning());
    EXPECT_FALSE(collector.waitForPath(watched.write(QStringLiteral("unseen.png"), "png"), 400));
}

TEST(FolderWatcherTest, foldersThatCannotBeWatchedAreReportedAndTriedAgain)
{
    TempDir a;
    Collector collector;
    std::atomic<int> reports = 0;
    FolderWatcher watcher(false, 50ms, collector.handler(), 20ms);
    watcher.setUnwatchedHandler([&] { ++reports; });
    const QString later = a.filePath(QStringLiteral("later"));
    watcher.start({a.path(), later});
    EXPECT_TRUE(watcher.isRunning());
    EXPECT_EQ(watcher.unwatched(), QSet<QString>{later});

    // Tried again by itself, without another start.
    a.mkdir(QStringLiteral("later"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports == 2; }, 5000));
    EXPECT_TRUE(watcher.unwatched().isEmpty());
    EXPECT_TRUE(collector.waitForPath(a.write(QStringLiteral("later/shot.png"), "png")));

    watcher.start({a.filePath(QStringLiteral("missing"))});
    EXPECT_FALSE(watcher.isRunning());
}

// A file system mounted over a watched folder's path sends no event to the folder underneath; the pipeline starts
// the watcher again on a mount change. A link turned to another folder stands in for the mount here.
TEST(FolderWatcherTest, aPathThatNamesAnotherFolderIsWatchedAnewOnTheNextStart)
{
    TempDir dirs;
    const QString path = dirs.filePath(QStringLiteral("Screenshots"));
    ASSERT_TRUE(QFile::link(dirs.mkdir(QStringLiteral("before")), path));
    Collector collector;
    FolderWatcher watcher(false, 50ms, collector.handler());
    watcher.start({path});
    const quint64 stream = watcher.streamId();

    const QString turned = dirs.filePath(QStringLiteral("turned"));
    ASSERT_TRUE(QFile::link(dirs.mkdir(QStringLiteral("after")), turned));
    ASSERT_EQ(::rename(QFile::encodeName(turned).constData(), QFile::encodeName(path).constData()), 0);
    dirs.write(QStringLiteral("after/missed.png"), "png");
    EXPECT_FALSE(collector.waitForPath(path + QStringLiteral("/missed.png"), 300));

    watcher.start({path});
    EXPECT_EQ(watcher.streamId(), stream);
    dirs.write(QStringLiteral("after/seen.png"), "png");
    EXPECT_TRUE(collector.waitForPath(path + QStringLiteral("/seen.png")));
}

TEST(FolderWatcherTest, movedOrDeletedRootIsReported)
{
    TempDir parent;
    const QString root = parent.mkdir(QStringLiteral("watched"));
    Collector collector;
    FolderWatcher watcher(false, 100ms, collector.handler());
    watcher.start({root});
    ASSERT_TRUE(QDir().rename(root, parent.filePath(QStringLiteral("moved"))));
    ASSERT_TRUE(collector.waitForPath(root));
    EXPECT_TRUE(collector.events().first().flags & FolderWatcher::rootChanged);
    // The watch does not follow the folder to its new place: the pipeline re-resolves it instead.
    parent.write(QStringLiteral("moved/ghost.png"), "png");
    EXPECT_FALSE(collector.waitForPath(parent.filePath(QStringLiteral("watched/ghost.png")), 300));
    EXPECT_FALSE(collector.waitForPath(parent.filePath(QStringLiteral("moved/ghost.png")), 10));

    const QString other = parent.mkdir(QStringLiteral("other"));
    watcher.start({other});
    ASSERT_TRUE(QDir(other).removeRecursively());
    ASSERT_TRUE(collector.waitForPath(other));
    EXPECT_TRUE(collector.events().last().flags & FolderWatcher::rootChanged);
}

} // namespace
