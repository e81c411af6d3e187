// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "HistoryStore.h"
#include "TempDir.h"
#include "TestClock.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
QDateTime utc(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

RenameRecord makeRecord(int n, std::optional<FileID> fileID = std::nullopt)
{
    RenameRecord record;
    record.id = QUuid::createUuid();
    record.date = utc("2026-11-12T10:42:17Z").addSecs(n);
    record.folderPath = QStringLiteral("/home/u/Pictures/Screenshots");
    record.currentName = QStringLiteral("Name %1.png").arg(n);
    record.engine = NamingEngineKind::ocr;
    record.fileID = fileID;
    return record;
}

// The files as another version of the program writes them: compact, FileID maps as flat arrays.
const char handWrittenHistory[] =
    R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","date":"2026-11-12T10:42:17Z",)"
    R"("folderPath":"/home/u/Pictures","originalName":"Screenshot from 2026-11-12 10-42-17.png",)"
    R"("currentName":"GitHub pull request review.png","engine":"ai","state":"renamed",)"
    R"("fileID":{"volume":"0B5E-1F2A","inode":1234567}},)"
    R"({"id":"0F0E0D0C-0B0A-4908-8706-050403020100","date":"2026-11-11T08:00:00Z",)"
    R"("folderPath":"/home/u/Pictures","originalName":"Screenshot_20261111_080000.png",)"
    R"("currentName":"Screenshot_20261111_080000.png","engine":"manual","state":"undone"}])";

const char handWrittenRegistry[] =
    R"({"handled":[{"volume":"0B5E-1F2A","inode":1234567},"2026-11-12T10:42:17Z",{"inode":42},"2026-11-10T09:00:00Z"],)"
    R"("failed":[{"inode":7},"2026-11-11T12:00:00Z"],)"
    R"("pending":{"/home/u/Pictures/a.png":{"first":"2026-11-12T10:40:00Z","attempts":2}}})";
} // namespace

TEST(HistoryStore, ReadsAndRewritesTheFileFormat)
{
    TempDir dir;
    dir.write(QStringLiteral("history.json"), handWrittenHistory);
    dir.write(QStringLiteral("registry.json"), handWrittenRegistry);
    TestClock clock;
    HistoryStore store(dir.path(), clock);

    ASSERT_EQ(store.records().size(), 2);
    const RenameRecord &first = store.records().at(0);
    EXPECT_EQ(first.date, utc("2026-11-12T10:42:17Z"));
    EXPECT_EQ(first.fileID, (FileID{QStringLiteral("0B5E-1F2A"), 1234567}));
    EXPECT_EQ(store.records().at(1).state, RenameRecord::State::undone);
    EXPECT_EQ(store.records().at(1).fileID, std::nullopt);

    EXPECT_TRUE(store.isHandled(FileID{QStringLiteral("0B5E-1F2A"), 1234567}));
    EXPECT_TRUE(store.isHandled(FileID{std::nullopt, 42}));
    EXPECT_FALSE(store.isHandled(FileID{QStringLiteral("0B5E-1F2A"), 42}));
    EXPECT_TRUE(store.hasFailed(FileID{std::nullopt, 7}));
    EXPECT_EQ(store.registry().pending.value(QStringLiteral("/home/u/Pictures/a.png")),
              (HistoryStore::Pending{utc("2026-11-12T10:40:00Z"), 2}));

    ASSERT_TRUE(store.saveNow());
    const QJsonObject written =
        QJsonDocument::fromJson(readAll(dir.filePath(QStringLiteral("registry.json")))).object();
    const QJsonArray handled = written.value(QStringLiteral("handled")).toArray();
    ASSERT_EQ(handled.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(handled.at(i).isObject(), i % 2 == 0);
    const QByteArray history = readAll(dir.filePath(QStringLiteral("history.json")));
    EXPECT_TRUE(history.contains(R"("id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F")"));
    EXPECT_TRUE(history.contains(R"("date":"2026-11-12T10:42:17Z")"));

    const HistoryStore reread(dir.path(), clock);
    EXPECT_EQ(reread.records(), store.records());
    EXPECT_EQ(reread.registry(), store.registry());
}

TEST(HistoryStore, DamagedFilesLoadWhatIsSoundAndAreKeptAsideBeforeTheNextSave)
{
    const struct
    {
        const char *name;
        QByteArray history;
        QByteArray registry;
        qsizetype records;
        qsizetype handled;
    } cases[] = {
        {"record without engine", QByteArray(handWrittenHistory).replace(R"("engine":"manual",)", ""), {}, 1, 2},
        {"truncated history", QByteArray(handWrittenHistory).left(100), {}, 0, 2},
        {"odd FileID array", {}, R"({"handled":[{"inode":1},"2026-11-12T10:42:17Z",{"inode":2}],"failed":[]})", 2, 1},
        {"date without zone",
         {},
         R"({"handled":[{"inode":1},"2026-11-12T10:42:17",{"inode":2},"2026-11-12T10:42:17Z"],"failed":[]})",
         2,
         1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.write(QStringLiteral("history.json"), c.history.isEmpty() ? handWrittenHistory : c.history);
        dir.write(QStringLiteral("registry.json"), c.registry.isEmpty() ? handWrittenRegistry : c.registry);
        TestClock clock;
        HistoryStore store(dir.path(), clock);
        EXPECT_EQ(store.records().size(), c.records);
        EXPECT_EQ(store.registry().handled.size(), c.handled);

        ASSERT_TRUE(store.saveNow());
        const QStringList copies = QDir(dir.path()).entryList({QStringLiteral("*.damaged-*")}, QDir::Files);
        ASSERT_EQ(copies.size(), 1);
        const bool historyBroken = !c.history.isEmpty();
        EXPECT_TRUE(copies.front().startsWith(historyBroken ? u"history.json." : u"registry.json."));
        EXPECT_EQ(readAll(dir.filePath(copies.front())), historyBroken ? c.history : c.registry);
        const HistoryStore reread(dir.path(), clock);
        EXPECT_EQ(reread.records(), store.records());
        EXPECT_EQ(reread.registry(), store.registry());
    }
}

// Two stores over one folder stand for the tray application and `zentrope rename` running at once.
TEST(HistoryStore, ProcessesSharingTheFilesKeepAndSeeEachOthersChanges)
{
    TempDir dir;
    TestClock clock;
    HistoryStore tray(dir.path(), clock);
    HistoryStore command(dir.path(), clock);
    QAbstractItemModelTester tester(&tray, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy reset(&tray, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&tray, &QAbstractItemModel::rowsInserted);

    // Neither has read the other's save before its own.
    const FileID shot{std::nullopt, 11};
    tray.markPending(QStringLiteral("/p/a.png"));
    const RenameRecord mine = makeRecord(1, FileID{std::nullopt, 10});
    tray.add(mine);
    command.registry().failed.insert(shot, clock.now());
    const RenameRecord theirs = makeRecord(2, FileID{std::nullopt, 12});
    command.add(theirs);
    {
        const HistoryStore disk(dir.path(), clock);
        EXPECT_EQ(disk.records(), (QList<RenameRecord>{theirs, mine}));
        EXPECT_TRUE(disk.isHandled(FileID{std::nullopt, 10}));
        EXPECT_TRUE(disk.isHandled(FileID{std::nullopt, 12}));
        EXPECT_TRUE(disk.hasFailed(shot));
        EXPECT_TRUE(disk.isPending(QStringLiteral("/p/a.png")));
    }

    // The tray application sees the command's record come in as a row of its own.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.record(theirs.id).has_value(); }, 5000));
    EXPECT_EQ(tray.records().front(), theirs);
    EXPECT_EQ(inserted.size(), 2);
    EXPECT_TRUE(reset.isEmpty());
    EXPECT_TRUE(tray.hasFailed(shot));

    // An undo there reaches the command line; a change made meanwhile is kept.
    RenameRecord undone = theirs;
    undone.state = RenameRecord::State::undone;
    tray.update(undone);
    command.clearFailed(shot);
    ASSERT_TRUE(command.saveNow());
    EXPECT_EQ(command.record(theirs.id), undone);
    EXPECT_TRUE(command.isPending(QStringLiteral("/p/a.png")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tray.hasFailed(shot); }, 5000));

    // Clearing elsewhere removes the rows here and keeps the registry.
    command.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.rowCount() == 0; }, 5000));
    EXPECT_TRUE(tray.isHandled(FileID{std::nullopt, 12}));
    EXPECT_TRUE(reset.isEmpty());
}

TEST(HistoryStore, RecordLimitDropsTheOldestAndTheModelFollows)
{
    TempDir dir;
    // Written as a file first: two thousand adds would each rewrite the whole history.
    QList<RenameRecord> full;
    for (int i = HistoryStore::maxRecords - 1; i >= 0; --i)
        full.append(makeRecord(i));
    const RenameRecord oldest = full.back();
    dir.write(QStringLiteral("history.json"), HistoryStore::encodeRecords(full));
    TestClock clock;
    HistoryStore store(dir.path(), clock);
    QAbstractItemModelTester tester(&store, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&store, &HistoryStore::recordsChanged);
    ASSERT_EQ(store.rowCount(), HistoryStore::maxRecords);
    EXPECT_TRUE(store.record(oldest.id).has_value());

    const RenameRecord newest = makeRecord(5000);
    store.add(newest);
    EXPECT_EQ(store.rowCount(), HistoryStore::maxRecords);
    EXPECT_FALSE(store.record(oldest.id).has_value());
    EXPECT_EQ(store.records().front(), newest);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(HistoryStore(dir.path(), clock).records(), store.records());

    const QModelIndex top = store.index(0);
    EXPECT_EQ(store.data(top, HistoryStore::FilePathRole).toString(),
              QStringLiteral("/home/u/Pictures/Screenshots/Name 5000.png"));

    RenameRecord undone = newest;
    undone.state = RenameRecord::State::undone;
    store.update(undone);
    EXPECT_EQ(store.data(top, HistoryStore::StateRole).toString(), QStringLiteral("undone"));
    store.update(makeRecord(1)); // an id the history does not hold
    EXPECT_EQ(store.record(undone.id), undone);

    store.clear();
    EXPECT_EQ(store.rowCount(), 0);
    EXPECT_TRUE(HistoryStore(dir.path(), clock).records().isEmpty());
}

TEST(HistoryStore, FindsRecordsByFileAndFolderAndTheRegistrySurvivesClear)
{
    TempDir dir;
    TestClock clock;
    const FileID file{std::nullopt, 5};
    {
        HistoryStore store(dir.path(), clock);
        store.registry().failed.insert(file, clock.now());
        const RenameRecord older = makeRecord(1, file);
        const RenameRecord newer = makeRecord(2, file);
        store.add(older);
        store.add(newer);
        store.add(makeRecord(3, FileID{QStringLiteral("VOL"), 6}));
        EXPECT_TRUE(store.isHandled(file));
        EXPECT_FALSE(store.hasFailed(file));
        EXPECT_EQ(store.registry().handled.value(file), clock.now());

        const QString folder = older.folderPath;
        EXPECT_EQ(store.record(file, folder), newer);
        EXPECT_EQ(store.record(FileID{QStringLiteral("VOL"), 5}, folder), std::nullopt);
        EXPECT_EQ(store.record(FileID{std::nullopt, 6}, folder), std::nullopt);
        EXPECT_EQ(store.record(file, folder + QStringLiteral("/")), std::nullopt);
        store.clear();
    }
    const HistoryStore reread(dir.path(), clock);
    EXPECT_TRUE(reread.records().isEmpty());
    EXPECT_TRUE(reread.isHandled(file));
}

TEST(HistoryStore, RegistryLimitsDropTheOldestEntries)
{
    TempDir dir;
    TestClock clock;
    HistoryStore store(dir.path(), clock);
    const QDateTime base = utc("2026-01-01T00:00:00Z");
    for (quint64 i = 0; i <= HistoryStore::maxHandled; ++i)
        store.registry().handled.insert(FileID{std::nullopt, i}, base.addSecs(static_cast<qint64>(i)));
    for (quint64 i = 0; i < HistoryStore::maxFailed + 3; ++i)
        store.registry().failed.insert(FileID{std::nullopt, i}, base.addSecs(-static_cast<qint64>(i)));
    store.trimRegistry();
    EXPECT_EQ(store.registry().handled.size(), HistoryStore::maxHandled);
    EXPECT_FALSE(store.isHandled(FileID{std::nullopt, 0}));
    EXPECT_TRUE(store.isHandled(FileID{std::nullopt, 1}));
    EXPECT_EQ(store.registry().failed.size(), HistoryStore::maxFailed);
    for (quint64 i = HistoryStore::maxFailed; i < HistoryStore::maxFailed + 3; ++i)
        EXPECT_FALSE(store.hasFailed(FileID{std::nullopt, i}));
    EXPECT_TRUE(store.hasFailed(FileID{std::nullopt, HistoryStore::maxFailed - 1}));
}

TEST(HistoryStore, PendingMarks)
{
    TempDir dir;
    TestClock clock;
    HistoryStore store(dir.path(), clock);
    QSignalSpy count(&store, &HistoryStore::pendingCountChanged);

    EXPECT_EQ(store.bumpAttempts(QStringLiteral("/p/none.png")), 0);
    EXPECT_FALSE(store.isPending(QStringLiteral("/p/none.png")));

    for (int i = 0; i < HistoryStore::maxPending; ++i) {
        store.markPending(QStringLiteral("/p/%1.png").arg(i));
        clock.advance(1);
    }
    store.markPending(QStringLiteral("/p/0.png")); // already pending: nothing changes
    EXPECT_EQ(count.count(), HistoryStore::maxPending);
    EXPECT_EQ(store.bumpAttempts(QStringLiteral("/p/1.png")), 1);
    EXPECT_EQ(store.bumpAttempts(QStringLiteral("/p/1.png")), 2);

    store.markPending(QStringLiteral("/p/new.png"));
    EXPECT_EQ(store.pendingCount(), HistoryStore::maxPending);
    EXPECT_FALSE(store.isPending(QStringLiteral("/p/0.png")));
    EXPECT_TRUE(store.isPending(QStringLiteral("/p/1.png")));
    EXPECT_EQ(store.pendingPaths().front(), QStringLiteral("/p/1.png"));
    EXPECT_EQ(store.pendingPaths().back(), QStringLiteral("/p/new.png"));

    store.removePending(QStringLiteral("/p/1.png"));
    EXPECT_EQ(store.pendingCount(), HistoryStore::maxPending - 1);
    EXPECT_TRUE(store.isSaveScheduled());

    // A new mark survives the limit even when the clock went back.
    store.markPending(QStringLiteral("/p/refill.png"));
    clock.advance(-3600);
    store.markPending(QStringLiteral("/p/late.png"));
    EXPECT_TRUE(store.isPending(QStringLiteral("/p/late.png")));
    EXPECT_EQ(store.pendingCount(), HistoryStore::maxPending);
}

TEST(HistoryStore, LoadingMergesDeferredMarksAndPrunesOldOnes)
{
    TempDir dir;
    dir.write(QStringLiteral("registry.json"),
              R"({"handled":[],"failed":[],)"
              R"("pending":{"/p/b.png":{"first":"2026-11-12T09:00:00Z","attempts":2},)"
              R"("/p/old.png":{"first":"2026-11-04T10:42:17Z","attempts":0},)"
              R"("/p/week.png":{"first":"2026-11-05T10:42:17Z","attempts":1},)"
              R"("/p/six.png":{"first":"2026-11-06T10:42:17Z","attempts":1}},)"
              R"("deferred":{"/p/a.png":"2026-11-12T08:00:00Z","/p/b.png":"2026-11-12T07:00:00Z"}})");
    TestClock clock(utc("2026-11-12T10:42:17Z"));
    HistoryStore store(dir.path(), clock);
    const auto &pending = store.registry().pending;
    EXPECT_EQ(pending.value(QStringLiteral("/p/a.png")), (HistoryStore::Pending{utc("2026-11-12T08:00:00Z"), 0}));
    EXPECT_EQ(pending.value(QStringLiteral("/p/b.png")), (HistoryStore::Pending{utc("2026-11-12T09:00:00Z"), 2}));
    // Eight days and exactly seven days old are gone; six days stays.
    EXPECT_FALSE(store.isPending(QStringLiteral("/p/old.png")));
    EXPECT_FALSE(store.isPending(QStringLiteral("/p/week.png")));
    EXPECT_TRUE(store.isPending(QStringLiteral("/p/six.png")));
    EXPECT_EQ(store.pendingCount(), 3);

    ASSERT_TRUE(store.saveNow());
    EXPECT_FALSE(readAll(dir.filePath(QStringLiteral("registry.json"))).contains("deferred"));
}

TEST(HistoryStore, SavesAreDebouncedCancelledBySaveNowAndFlushedOnDestruction)
{
    TempDir dir;
    TestClock clock;
    {
        HistoryStore store(dir.path(), clock);
        QSignalSpy saved(&store, &HistoryStore::saved);
        QElapsedTimer sinceLast;
        store.scheduleSave();
        QTest::qWait(100);
        store.scheduleSave();
        sinceLast.start();
        ASSERT_TRUE(saved.wait(2000));
        EXPECT_GE(sinceLast.elapsed(), 380);
        EXPECT_LT(sinceLast.elapsed(), 1500);

        store.markPending(QStringLiteral("/p/a.png"));
        store.saveNow();
        EXPECT_FALSE(store.isSaveScheduled());
        QTest::qWait(500);
        EXPECT_EQ(saved.count(), 2);

        store.markPending(QStringLiteral("/p/b.png"));
        EXPECT_TRUE(store.isSaveScheduled());
    }
    EXPECT_TRUE(HistoryStore(dir.path(), clock).isPending(QStringLiteral("/p/b.png")));
}

TEST(HistoryStore, HandWrittenEncodingAgreesWithTheJsonLibrary)
{
    const QDateTime dates[] = {
        QDateTime::fromString(QStringLiteral("1969-12-31T23:59:59.999Z"), Qt::ISODateWithMs),
        QDateTime::fromString(QStringLiteral("2026-11-12T10:42:17.999+03:00"), Qt::ISODateWithMs),
        QDateTime::fromString(QStringLiteral("0001-01-01T00:00:00Z"), Qt::ISODate),
    };
    for (const QDateTime &date : dates)
        EXPECT_EQ(historyDateText(date), date.toUTC().toString(Qt::ISODate)) << date.toString().toStdString();

    HistoryStore::Registry registry;
    const QDateTime when = utc("2026-11-12T10:42:17Z");
    registry.handled.insert(FileID{QStringLiteral("we\"ird\\name"), 5}, when.addSecs(1));
    registry.handled.insert(FileID{std::nullopt, (quint64(1) << 60) + 1}, when.addSecs(2));
    registry.failed.insert(FileID{QStringLiteral("Тома"), 9}, when.addSecs(3));
    const QByteArray bytes = HistoryStore::encodeRegistry(registry);
    bool damaged = false;
    EXPECT_EQ(HistoryStore::decodeRegistry(bytes, &damaged), registry) << bytes.toStdString();
    EXPECT_FALSE(damaged);
}
