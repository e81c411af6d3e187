// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PipelineFixture.h"

#include "CoroTest.h"
#include "FolderBookmark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace std::chrono_literals;
using Outcome = AppModel::Outcome;

namespace {
constexpr qint64 day = 24 * 3600;
} // namespace

using AppModelWatchingTest = PipelineFixture;

TEST_F(AppModelWatchingTest, catchUpAtLaunchLooksBackToTheLastSeenDateButNeverBeyondAWeek)
{
    // Screenshot files are created now; the clock and the stored date move around them.
    struct Case
    {
        const char *name;
        qint64 clockOffset;
        std::optional<qint64> lastSeenBeforeClock;
        bool caughtUp;
    };
    const Case cases[] = {
        // First launch: the date is stamped before the catch-up, so nothing older is taken.
        {"first launch", 5, std::nullopt, false},
        {"closed for an hour", 3600, 2 * 3600, true},
        // Stopped a moment after the file came in: the date was written on its arrival, after its creation.
        {"stopped just after the file came in", 100, 70, true},
        {"closed for two weeks, file three days old", 3 * day, 14 * day, true},
        {"closed for two weeks, file ten days old", 10 * day, 14 * day, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        folder.write(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"), "PNG");
        m_clock.set(QDateTime::currentDateTime().addSecs(c.clockOffset));
        m_settings->setLastSeenDate(
            c.lastSeenBeforeClock ? std::optional(m_clock.now().addSecs(-*c.lastSeenBeforeClock)) : std::nullopt);
        m_reports.clear();
        // Each launch with a history of its own: a reused inode must not look handled.
        TempDir data;
        m_history = std::make_unique<HistoryStore>(data.path(), m_clock);
        makeModel();
        const QByteArray bookmark = *FolderBookmark::create(folder.path());
        m_settings->setFolders({WatchedFolder{QUuid::createUuid(), folder.path(), bookmark, true}});
        runTask(m_model->start());
        EXPECT_TRUE(m_model->isWatching());
        EXPECT_EQ(m_settings->lastSeenDate(), m_clock.now());
        if (c.caughtUp) {
            ASSERT_TRUE(waitForReports(1));
            EXPECT_EQ(m_reports.first().job.origin, JobOrigin::catchUp);
            EXPECT_EQ(m_reports.first().outcome, Outcome::renamed);
        } else {
            QTest::qWait(50);
            EXPECT_TRUE(m_reports.isEmpty());
            EXPECT_FALSE(m_model->isWorking());
        }
        m_model->shutdown();
        m_model.reset();
    }
}

TEST_F(AppModelWatchingTest, metadataChangesAndNonCandidatesAreIgnoredAndDroppedEventsCatchUpWithAMinutesMargin)
{
    makeModel();
    const QString shot = screenshot();
    const QString other = m_work.write(QStringLiteral("notes.png"), "PNG");
    const QDateTime created = QDateTime::currentDateTime();
    watch(m_work.path());
    m_model->handle({{shot, FolderWatcher::itemInodeMetaMod | FolderWatcher::itemIsFile},
                     {other, FolderWatcher::itemCreated | FolderWatcher::itemIsFile}});
    QTest::qWait(20);
    EXPECT_FALSE(m_model->isWorking());
    EXPECT_TRUE(m_reports.isEmpty());

    // The file was written 30 seconds before the stored date: only the one-minute margin reaches it.
    m_settings->setLastSeenDate(created.addSecs(30));
    m_clock.set(created.addSecs(100));
    m_model->handle({{m_work.path(), FolderWatcher::kernelDropped}});
    EXPECT_EQ(m_settings->lastSeenDate(), m_clock.now());
    ASSERT_TRUE(waitForReports(1));
    EXPECT_EQ(m_reports.size(), 1);
    EXPECT_EQ(m_reports.first().job, (Job{shot, JobOrigin::catchUp}));
    EXPECT_TRUE(m_model->isWatching());
}

TEST_F(AppModelWatchingTest, withAutomaticProcessingOffEventsAreIgnoredAndSwitchingOnRetriesWithoutCatchingUp)
{
    makeModel();
    const QString pending = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"));
    watch(m_work.path());
    m_history->markPending(pending);
    m_model->setAutoProcessing(false);
    EXPECT_FALSE(m_model->isWatching());
    EXPECT_EQ(m_settings->lastSeenDate(), m_clock.now());
    const QString whileOff = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-50-00.png"));
    m_model->handle({{whileOff, FolderWatcher::itemCreated | FolderWatcher::itemIsFile}});
    QTest::qWait(20);
    EXPECT_TRUE(m_reports.isEmpty());

    m_clock.advance(10);
    m_model->setAutoProcessing(true);
    EXPECT_TRUE(m_model->isWatching());
    ASSERT_TRUE(waitForReports(1));
    QTest::qWait(50);
    ASSERT_EQ(m_reports.size(), 1);
    EXPECT_EQ(m_reports.first().job, (Job{pending, JobOrigin::catchUp}));
    EXPECT_TRUE(QFileInfo::exists(whileOff));
}

// What a process starting after a crash would find: the date moves only after the pending marks are saved.
TEST_F(AppModelWatchingTest, theDateMovesOnlyAfterThePendingMarksAreSavedOnArrivalAndBeforeSleep)
{
    makeModel();
    watch(m_work.path());
    runTask(m_model->start());
    m_analyzer->hold = true;
    const QString shot = screenshot();
    m_clock.advance(100);
    m_model->handle({{shot, FolderWatcher::itemCreated | FolderWatcher::itemIsFile}});
    EXPECT_EQ(m_settings->lastSeenDate(), m_clock.now());
    EXPECT_TRUE(HistoryStore(m_data.path(), m_clock).isPending(shot));

    m_history->markPending(m_work.filePath(QStringLiteral("x.png")));
    m_clock.advance(5);
    Q_EMIT m_power->aboutToSleep();
    EXPECT_EQ(m_settings->lastSeenDate(), m_clock.now());
    EXPECT_FALSE(m_history->isSaveScheduled());
    m_analyzer->release();
}

// An unmounted file system leaves an empty folder at its mount point; mounted again, it is the folder once more.
TEST_F(AppModelWatchingTest, aRemountedFolderIsUnavailableMeanwhileAndOnlyWatchedMountsTakeUpPendingFiles)
{
    makeModel();
    TempDir parent;
    const QString folder = parent.mkdir(QStringLiteral("Screenshots"));
    const QUuid id = watch(folder);
    runTask(m_model->start());
    ASSERT_TRUE(m_model->isWatching());

    TempDir away;
    const QString stored = away.filePath(QStringLiteral("Screenshots"));
    ASSERT_TRUE(QDir().rename(folder, stored));
    parent.mkdir(QStringLiteral("Screenshots"));
    Q_EMIT m_mounts->mountsChanged({folder});
    EXPECT_EQ(m_model->unavailableFolders(), QSet<QUuid>{id});
    EXPECT_FALSE(m_model->isWatching());

    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QDir().rename(stored, folder));
    Q_EMIT m_mounts->mountsChanged({folder});
    EXPECT_TRUE(m_model->unavailableFolders().isEmpty());
    ASSERT_TRUE(m_model->isWatching());
    const QString shot = QDir(folder).filePath(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"));
    QFile file(shot);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PNG");
    file.close();
    ASSERT_TRUE(waitForReports(1));
    EXPECT_EQ(m_reports.first().job, (Job{shot, JobOrigin::event}));

    // Only mount changes that concern a watched folder take up pending files.
    const QString pending = screenshot();
    watch(m_work.path());
    m_history->markPending(pending);
    Q_EMIT m_mounts->mountsChanged({QStringLiteral("/var/lib/docker/overlay2/x/merged"), QStringLiteral("/snap/a/1")});
    QTest::qWait(50);
    EXPECT_EQ(m_reports.size(), 1);
    Q_EMIT m_mounts->mountsChanged({QFileInfo(m_work.path()).absolutePath()});
    ASSERT_TRUE(waitForReports(2));
    EXPECT_EQ(m_reports.at(1).job, (Job{pending, JobOrigin::catchUp}));
}

TEST_F(AppModelWatchingTest, aFolderIsWatchedOnceWhateverPathNamesIt)
{
    makeModel();
    EXPECT_TRUE(m_model->addFolder(m_work.path()));
    const QList<WatchedFolder> before = m_settings->folders();
    EXPECT_FALSE(m_model->addFolder(m_work.path() + QStringLiteral("/")));
    TempDir links;
    ASSERT_TRUE(QFile::link(m_work.path(), links.filePath(QStringLiteral("link"))));
    EXPECT_FALSE(m_model->addFolder(links.filePath(QStringLiteral("link"))));
    EXPECT_FALSE(m_model->addFolder(m_work.filePath(QStringLiteral("missing"))));
    EXPECT_EQ(m_settings->folders(), before);
    EXPECT_EQ(m_model->openFolders().size(), 1);
}

TEST_F(AppModelWatchingTest, pendingFilesAreRetriedOnlyInWatchedFoldersAndLoseTheirMarkWhenGone)
{
    makeModel();
    TempDir elsewhere;
    const QString unwatched = elsewhere.write(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"), "PNG");
    const QString gone = m_work.filePath(QStringLiteral("Screenshot From 2026-11-12 09-00-00.png"));
    const QString present = screenshot();
    m_history->markPending(unwatched);
    m_history->markPending(gone);
    m_history->markPending(present);
    const QUuid id = watch(m_work.path());
    m_model->setFolder(id, true);
    ASSERT_TRUE(waitForReports(1));
    EXPECT_EQ(m_reports.size(), 1);
    EXPECT_EQ(m_reports.first().job.path, present);
    EXPECT_TRUE(m_history->isPending(unwatched));
    EXPECT_FALSE(m_history->isPending(gone));
}

TEST_F(AppModelWatchingTest, ownRenamesInAWatchedFolderDoNotComeBackAsEvents)
{
    m_settings->setScope(ProcessingScope::allImages);
    makeModel();
    watch(m_work.path());
    // A fresh image in the all-images scope: its new name would be a candidate again if it came back.
    const QString file = m_work.write(QStringLiteral("capture.png"), "PNG");
    ASSERT_TRUE(waitForReports(1));
    EXPECT_EQ(m_reports.first().job.origin, JobOrigin::event);
    EXPECT_EQ(m_reports.first().outcome, Outcome::renamed);
    QSignalSpy seen(m_model.get(), &AppModel::eventReceived);
    QTest::qWait(300);
    for (const QVariantList &arguments : std::as_const(seen))
        EXPECT_NE(arguments.first().toString(), m_reports.first().newPath);
    // A new file under the name just renamed away is news (tools that name by the minute reuse names).
    const QString again = m_work.write(QStringLiteral("capture.png"), "PNG");
    ASSERT_TRUE(waitForReports(2));
    EXPECT_EQ(m_reports.at(1).job, (Job{again, JobOrigin::event}));
    EXPECT_EQ(m_reports.at(1).outcome, Outcome::renamed);
    // Control: a rename by someone else in the same folder is reported.
    const QString other = m_work.filePath(QStringLiteral("someone else.png"));
    ASSERT_TRUE(QFile::rename(m_reports.first().newPath, other));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(seen.cbegin(), seen.cend(), [&](const QVariantList &a) { return a.first() == other; });
        },
        2000));
    EXPECT_FALSE(QFileInfo::exists(file));
}
