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
using AppModelWatchingTest = PipelineFixture;

namespace {
FolderWatcher::Event created(const QString &path)
{
    return {path, FolderWatcher::itemCreated | FolderWatcher::itemIsFile};
}
} // namespace

TEST_F(AppModelWatchingTest, catchUpAtLaunchLooksBackToTheLastSeenDateButNeverBeyondAWeek)
{
    constexpr qint64 day = 24 * 3600;
    // The file is created now; the clock and the stored date (seconds before the clock) move around it.
    const struct
    {
        qint64 clockOffset;
        std::optional<qint64> lastSeenBeforeClock;
        bool caughtUp;
    } cases[] = {
        {5, std::nullopt, false}, // first launch: the date is stamped before the catch-up
        {100, 70, true},          // stopped just after the file came in: the one-minute margin reaches it
        {3 * day, 14 * day, true},
        {10 * day, 14 * day, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.clockOffset);
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
        m_settings->setFolders(
            {WatchedFolder{QUuid::createUuid(), folder.path(), *FolderBookmark::create(folder.path()), true}});
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
        }
        m_model->shutdown();
        m_model.reset();
    }
}

TEST_F(AppModelWatchingTest, metadataChangesAndNonCandidatesAreIgnoredAndDroppedEventsCatchUpWithAMinutesMargin)
{
    makeModel();
    const QString shot = screenshot();
    const QDateTime written = QDateTime::currentDateTime();
    watch(m_work.path());
    m_model->handle({{shot, FolderWatcher::itemInodeMetaMod | FolderWatcher::itemIsFile},
                     created(m_work.write(QStringLiteral("notes.png"), "PNG"))});
    QTest::qWait(20);
    EXPECT_TRUE(m_reports.isEmpty());

    m_settings->setLastSeenDate(written.addSecs(30));
    m_clock.set(written.addSecs(100));
    m_model->handle({{m_work.path(), FolderWatcher::kernelDropped}});
    EXPECT_EQ(m_settings->lastSeenDate(), m_clock.now());
    ASSERT_TRUE(waitForReports(1));
    EXPECT_EQ(m_reports.size(), 1);
    EXPECT_EQ(m_reports.first().job, (Job{shot, JobOrigin::catchUp}));
    EXPECT_TRUE(m_model->isWatching());
}

TEST_F(AppModelWatchingTest, switchingAutomaticProcessingOnRetriesPendingFilesWithoutCatchingUp)
{
    makeModel();
    const QString pending = screenshot();
    watch(m_work.path());
    m_history->markPending(pending);
    m_model->setAutoProcessing(false);
    EXPECT_FALSE(m_model->isWatching());
    EXPECT_EQ(m_settings->lastSeenDate(), m_clock.now());
    screenshot(QStringLiteral("Screenshot From 2026-11-12 10-50-00.png"));
    m_clock.advance(10);
    m_model->setAutoProcessing(true);
    EXPECT_TRUE(m_model->isWatching());
    ASSERT_TRUE(waitForReports(1));
    QTest::qWait(50);
    ASSERT_EQ(m_reports.size(), 1);
    EXPECT_EQ(m_reports.first().job, (Job{pending, JobOrigin::catchUp}));
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
    m_model->handle({created(shot)});
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
    TempDir away;
    const QString folder = parent.mkdir(QStringLiteral("Screenshots"));
    const QString stored = away.filePath(QStringLiteral("Screenshots"));
    const QUuid id = watch(folder);
    runTask(m_model->start());
    ASSERT_TRUE(m_model->isWatching());
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
    const QString shot = parent.write(QStringLiteral("Screenshots/Screenshot From 2026-11-12 10-42-17.png"), "PNG");
    ASSERT_TRUE(waitForReports(1));
    EXPECT_EQ(m_reports.first().job, (Job{shot, JobOrigin::event}));

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

TEST_F(AppModelWatchingTest, aFolderIsWatchedOnceWhateverPathNamesItAndPendingFilesRetryOnlyThere)
{
    makeModel();
    TempDir elsewhere;
    const QString unwatched = elsewhere.write(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"), "PNG");
    const QString gone = m_work.filePath(QStringLiteral("Screenshot From 2026-11-12 09-00-00.png"));
    const QString present = screenshot();
    for (const QString &path : {unwatched, gone, present})
        m_history->markPending(path);
    const QUuid id = watch(m_work.path());
    const QList<WatchedFolder> before = m_settings->folders();
    ASSERT_TRUE(QFile::link(m_work.path(), elsewhere.filePath(QStringLiteral("link"))));
    for (const QString &same :
         {m_work.path() + u'/', elsewhere.filePath(QStringLiteral("link")), m_work.filePath(QStringLiteral("missing"))})
        EXPECT_FALSE(m_model->addFolder(same)) << same.toStdString();
    EXPECT_EQ(m_settings->folders(), before);
    EXPECT_EQ(m_model->openFolders().size(), 1);

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
    // In the all-images scope the new name would be a candidate again if it came back.
    const QString file = m_work.write(QStringLiteral("capture.png"), "PNG");
    ASSERT_TRUE(waitForReports(1));
    EXPECT_EQ(m_reports.first().job.origin, JobOrigin::event);
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
