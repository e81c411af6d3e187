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

FileID inode(quint64 n)
{
    return FileID{std::nullopt, n};
}

RenameRecord makeRecord(int n, std::optional<FileID> fileID = std::nullopt)
{
    RenameRecord record;
    record.id = QUuid::createUuid();
    record.date = utc("2026-11-12T10:42:17Z").addSecs(n);
    record.folderPath = u"/home/u/Pictures/Screenshots"_qs;
    record.currentName = u"Name %1.png"_qs.arg(n);
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
    dir.write(u"history.json"_qs, handWrittenHistory);
    dir.write(u"registry.json"_qs, handWrittenRegistry);
    TestClock clock;
    HistoryStore store(dir.path(), clock);
    ASSERT_EQ(store.records().size(), 2);
    EXPECT_EQ(store.records().at(0).date, utc("2026-11-12T10:42:17Z"));
    EXPECT_EQ(store.records().at(0).fileID, (FileID{u"0B5E-1F2A"_qs, 1234567}));
    EXPECT_EQ(store.records().at(1).state, RenameRecord::State::undone);
    EXPECT_TRUE(store.isHandled(FileID{u"0B5E-1F2A"_qs, 1234567}) && store.isHandled(inode(42)));
    EXPECT_TRUE(store.hasFailed(inode(7)));
    EXPECT_EQ(store.registry().pending.value(u"/home/u/Pictures/a.png"_qs),
              (HistoryStore::Pending{utc("2026-11-12T10:40:00Z"), 2}));

    ASSERT_TRUE(store.saveNow());
    const QByteArray registry = readAll(dir.filePath(u"registry.json"_qs));
    const QJsonArray handled = QJsonDocument::fromJson(registry).object().value(u"handled"_qs).toArray();
    EXPECT_TRUE(handled.size() == 4 && handled[0].isObject() && handled[1].isString() && handled[2].isObject())
        << registry.toStdString();
    const QByteArray history = readAll(dir.filePath(u"history.json"_qs));
    EXPECT_TRUE(history.contains(R"("id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F")"));
    EXPECT_TRUE(history.contains(R"("date":"2026-11-12T10:42:17Z")"));
    const HistoryStore reread(dir.path(), clock);
    EXPECT_EQ(reread.records(), store.records());
    EXPECT_EQ(reread.registry(), store.registry());

    // The hand-written encoding agrees with the JSON library on dates and escapes.
    for (const char *date : {"1969-12-31T23:59:59.999Z", "2026-11-12T10:42:17.999+03:00", "0001-01-01T00:00:00Z"}) {
        const QDateTime parsed = QDateTime::fromString(QString::fromLatin1(date), Qt::ISODateWithMs);
        EXPECT_EQ(historyDateText(parsed), parsed.toUTC().toString(Qt::ISODate)) << date;
    }
    HistoryStore::Registry odd;
    odd.handled.insert(FileID{u"we\"ird\\name"_qs, 5}, utc("2026-11-12T10:42:17Z"));
    odd.handled.insert(inode((quint64(1) << 60) + 1), utc("2026-11-12T10:42:18Z"));
    odd.failed.insert(FileID{u"Тома"_qs, 9}, utc("2026-11-12T10:42:19Z"));
    bool damaged = false;
    EXPECT_EQ(HistoryStore::decodeRegistry(HistoryStore::encodeRegistry(odd), &damaged), odd);
    EXPECT_FALSE(damaged);
}

TEST(HistoryStore, DamagedFilesLoadWhatIsSoundAndOnlyTheDamagedOneIsKeptAsideBeforeTheNextSave)
{
    const auto loads = [](const char *name, const QByteArray &history, const QByteArray &registry, qsizetype records,
                          qsizetype handled) {
        SCOPED_TRACE(name);
        TempDir dir;
        dir.write(u"history.json"_qs, history.isEmpty() ? handWrittenHistory : history);
        dir.write(u"registry.json"_qs, registry.isEmpty() ? handWrittenRegistry : registry);
        TestClock clock;
        HistoryStore store(dir.path(), clock);
        EXPECT_EQ(store.records().size(), records);
        EXPECT_EQ(store.registry().handled.size(), handled);
        ASSERT_TRUE(store.saveNow());
        const QStringList copies = QDir(dir.path()).entryList({u"*.damaged-*"_qs}, QDir::Files);
        ASSERT_EQ(copies.size(), 1);
        EXPECT_TRUE(copies.front().startsWith(history.isEmpty() ? u"registry.json." : u"history.json."));
        EXPECT_EQ(readAll(dir.filePath(copies.front())), history.isEmpty() ? registry : history);
        const HistoryStore reread(dir.path(), clock);
        EXPECT_EQ(reread.records(), store.records());
        EXPECT_EQ(reread.registry(), store.registry());
    };
    loads("record without engine", QByteArray(handWrittenHistory).replace(R"("engine":"manual",)", ""), {}, 1, 2);
    loads("odd FileID array", {}, R"({"handled":[{"inode":1},"2026-11-12T10:42:17Z",{"inode":2}],"failed":[]})", 2, 1);
    loads("date without zone", {},
          R"({"handled":[{"inode":1},"2026-11-12T10:42:17",{"inode":2},"2026-11-12T10:42:17Z"],"failed":[]})", 2, 1);
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
    tray.markPending(u"/p/a.png"_qs);
    const RenameRecord mine = makeRecord(1, inode(10));
    tray.add(mine);
    command.registry().failed.insert(inode(11), clock.now());
    const RenameRecord theirs = makeRecord(2, inode(12));
    command.add(theirs);
    {
        const HistoryStore disk(dir.path(), clock);
        EXPECT_EQ(disk.records(), (QList<RenameRecord>{theirs, mine}));
        EXPECT_TRUE(disk.isHandled(inode(10)) && disk.isHandled(inode(12)) && disk.hasFailed(inode(11)));
        EXPECT_TRUE(disk.isPending(u"/p/a.png"_qs));
    }

    // The tray application sees the command's record come in as a row of its own.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.record(theirs.id).has_value(); }, 5000));
    EXPECT_EQ(tray.records().front(), theirs);
    EXPECT_EQ(inserted.size(), 2);
    EXPECT_TRUE(tray.hasFailed(inode(11)));

    // An undo there reaches the command line; a change made meanwhile is kept.
    RenameRecord undone = theirs;
    undone.state = RenameRecord::State::undone;
    tray.update(undone);
    command.clearFailed(inode(11));
    ASSERT_TRUE(command.saveNow());
    EXPECT_EQ(command.record(theirs.id), undone);
    EXPECT_TRUE(command.isPending(u"/p/a.png"_qs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tray.hasFailed(inode(11)); }, 5000));

    // Clearing elsewhere removes the rows here and keeps the registry.
    command.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.rowCount() == 0; }, 5000));
    EXPECT_TRUE(tray.isHandled(inode(12)));
    EXPECT_TRUE(reset.isEmpty());
}

TEST(HistoryStore, LimitsDropTheOldestAndTheModelFollows)
{
    TempDir dir;
    // Written as a file first: two thousand adds would each rewrite the whole history.
    QList<RenameRecord> full;
    for (int i = HistoryStore::maxRecords - 1; i >= 0; --i)
        full.append(makeRecord(i));
    dir.write(u"history.json"_qs, HistoryStore::encodeRecords(full));
    TestClock clock;
    HistoryStore store(dir.path(), clock);
    QAbstractItemModelTester tester(&store, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&store, &HistoryStore::recordsChanged);
    ASSERT_EQ(store.rowCount(), HistoryStore::maxRecords);
    const RenameRecord newest = makeRecord(5000);
    store.add(newest);
    EXPECT_EQ(store.rowCount(), HistoryStore::maxRecords);
    EXPECT_FALSE(store.record(full.back().id).has_value());
    EXPECT_EQ(store.records().front(), newest);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(HistoryStore(dir.path(), clock).records(), store.records());
    store.update(makeRecord(1)); // an id the history does not hold
    EXPECT_EQ(store.records().front(), newest);

    const QDateTime base = utc("2026-01-01T00:00:00Z");
    for (quint64 i = 0; i <= HistoryStore::maxHandled; ++i)
        store.registry().handled.insert(inode(i), base.addSecs(static_cast<qint64>(i)));
    for (quint64 i = 0; i < HistoryStore::maxFailed + 3; ++i)
        store.registry().failed.insert(inode(i), base.addSecs(-static_cast<qint64>(i)));
    store.trimRegistry();
    EXPECT_EQ(store.registry().handled.size(), HistoryStore::maxHandled);
    EXPECT_TRUE(!store.isHandled(inode(0)) && store.isHandled(inode(1)));
    EXPECT_EQ(store.registry().failed.size(), HistoryStore::maxFailed);
    EXPECT_TRUE(!store.hasFailed(inode(HistoryStore::maxFailed)) &&
                store.hasFailed(inode(HistoryStore::maxFailed - 1)));

    // Records are found by file and exact folder; adding one marks the file handled, clearing keeps the registry.
    const FileID file = inode(90000);
    store.registry().failed.insert(file, clock.now());
    const RenameRecord older = makeRecord(1, file);
    const RenameRecord newer = makeRecord(2, file);
    store.add(older);
    store.add(newer);
    store.add(makeRecord(3, FileID{u"VOL"_qs, 90001}));
    EXPECT_TRUE(store.isHandled(file) && !store.hasFailed(file));
    EXPECT_EQ(store.registry().handled.value(file), clock.now());
    EXPECT_EQ(store.record(file, older.folderPath), newer);
    EXPECT_EQ(store.record(FileID{u"VOL"_qs, 90000}, older.folderPath), std::nullopt);
    EXPECT_EQ(store.record(inode(90001), older.folderPath), std::nullopt);
    EXPECT_EQ(store.record(file, older.folderPath + u'/'), std::nullopt);
    store.clear();
    const HistoryStore reread(dir.path(), clock);
    EXPECT_TRUE(reread.records().isEmpty());
    EXPECT_TRUE(reread.isHandled(file));
}

TEST(HistoryStore, PendingMarksAreBoundedByCountAndAgeAndSavedSoonAfterTheLastChange)
{
    TempDir dir;
    TestClock clock;
    HistoryStore store(dir.path(), clock);
    QSignalSpy count(&store, &HistoryStore::pendingCountChanged);
    EXPECT_EQ(store.bumpAttempts(u"/p/none.png"_qs), 0);
    EXPECT_FALSE(store.isPending(u"/p/none.png"_qs));
    for (int i = 0; i < HistoryStore::maxPending; ++i) {
        store.markPending(u"/p/%1.png"_qs.arg(i));
        clock.advance(1);
    }
    store.markPending(u"/p/0.png"_qs); // already pending: nothing changes
    EXPECT_EQ(count.count(), HistoryStore::maxPending);
    store.markPending(u"/p/new.png"_qs);
    EXPECT_EQ(store.pendingCount(), HistoryStore::maxPending);
    EXPECT_FALSE(store.isPending(u"/p/0.png"_qs));
    EXPECT_EQ(store.pendingPaths().front(), u"/p/1.png"_qs);
    EXPECT_EQ(store.pendingPaths().back(), u"/p/new.png"_qs);
    store.removePending(u"/p/1.png"_qs);
    EXPECT_EQ(store.pendingCount(), HistoryStore::maxPending - 1);
    EXPECT_TRUE(store.isSaveScheduled());
    ASSERT_TRUE(store.saveNow());
    EXPECT_FALSE(store.isSaveScheduled());
    // A new mark survives the limit even when the clock went back.
    store.markPending(u"/p/refill.png"_qs);
    clock.advance(-3600);
    store.markPending(u"/p/late.png"_qs);
    EXPECT_TRUE(store.isPending(u"/p/late.png"_qs));
    EXPECT_EQ(store.pendingCount(), HistoryStore::maxPending);

    // Loading merges the older form of the marks and drops those a week old or older.
    TempDir older; // away from the store above, which still saves its own marks
    older.write(u"registry.json"_qs,
                R"({"handled":[],"failed":[],)"
                R"("pending":{"/p/b.png":{"first":"2026-11-12T09:00:00Z","attempts":2},)"
                R"("/p/week.png":{"first":"2026-11-05T10:42:17Z","attempts":1},)"
                R"("/p/six.png":{"first":"2026-11-06T10:42:17Z","attempts":1}},)"
                R"("deferred":{"/p/a.png":"2026-11-12T08:00:00Z","/p/b.png":"2026-11-12T07:00:00Z"}})");
    TestClock now(utc("2026-11-12T10:42:17Z"));
    auto loaded = std::make_unique<HistoryStore>(older.path(), now);
    EXPECT_EQ(loaded->registry().pending,
              (QHash<QString, HistoryStore::Pending>{{u"/p/a.png"_qs, {utc("2026-11-12T08:00:00Z"), 0}},
                                                     {u"/p/b.png"_qs, {utc("2026-11-12T09:00:00Z"), 2}},
                                                     {u"/p/six.png"_qs, {utc("2026-11-06T10:42:17Z"), 1}}}));
    ASSERT_TRUE(loaded->saveNow());
    EXPECT_FALSE(readAll(older.filePath(u"registry.json"_qs)).contains("deferred"));

    // A save comes 0.4 s after the last of several changes; one still scheduled is made on destruction.
    QSignalSpy saved(loaded.get(), &HistoryStore::saved);
    QElapsedTimer sinceLast;
    loaded->scheduleSave();
    QTest::qWait(100);
    loaded->scheduleSave();
    sinceLast.start();
    ASSERT_TRUE(saved.wait(2000));
    EXPECT_GE(sinceLast.elapsed(), 380);
    EXPECT_LT(sinceLast.elapsed(), 1500);
    loaded->markPending(u"/p/late.png"_qs);
    EXPECT_TRUE(loaded->isSaveScheduled());
    loaded.reset();
    EXPECT_TRUE(HistoryStore(older.path(), now).isPending(u"/p/late.png"_qs));
}
