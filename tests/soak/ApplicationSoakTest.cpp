// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The tray application as a process, as the session runs it: a burst of screenshots, a kill in the middle of
// work, damaged files at start. Checked on disk by content: nothing lost, nothing overwritten, nothing named twice.
#include "HistoryStore.h"
#include "KeyValueStore.h"
#include "RenameRecord.h"
#include "Soak.h"
#include "TestProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

const QString noModelServer = QStringLiteral("http://127.0.0.1:9");

QList<RenameRecord> recordsOnDisk(const TestProfile &profile)
{
    return HistoryStore::decodeRecords(
        Soak::readFile(QDir(profile.historyDirectory()).filePath(QStringLiteral("history.json"))));
}

// Every original name was renamed exactly once, and every record names a file that is there.
void expectEachNamedOnce(const QList<RenameRecord> &records, const QStringList &originals, const QString &folder)
{
    QSet<QString> renamed;
    QSet<QString> current;
    for (const RenameRecord &record : records) {
        EXPECT_TRUE(originals.contains(record.originalName)) << "renamed twice: " << record.originalName.toStdString();
        EXPECT_FALSE(renamed.contains(record.originalName)) << record.originalName.toStdString();
        renamed.insert(record.originalName);
        current.insert(record.currentName);
        EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath(record.currentName))) << record.currentName.toStdString();
    }
    EXPECT_EQ(renamed.size(), originals.size());
    EXPECT_EQ(current.size(), records.size());
    for (const QString &name : Soak::fileNames(folder))
        EXPECT_FALSE(originals.contains(name)) << "not renamed: " << name.toStdString();
}

// Waits until `count` records are on disk and the folder holds no original name any more.
bool waitUntilNamed(const TestProfile &profile, const QString &folder, const QStringList &originals, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            const QStringList names = Soak::fileNames(folder);
            return std::none_of(names.cbegin(), names.cend(),
                                [&](const QString &n) { return originals.contains(n); }) &&
                   recordsOnDisk(profile).size() == originals.size();
        },
        timeoutMs);
}

} // namespace

TEST(ApplicationSoakTest, aBurstOf300ScreenshotsIsNamedOnceEachWithNothingLostOrOverwritten)
{
    constexpr int count = 300;
    TestProfile profile(noModelServer);
    TempDir watched;
    Soak::prepareTrayProfile(profile, watched.path());
    const std::unique_ptr<QProcess> tray = Soak::startTray(profile);
    ASSERT_TRUE(tray) << "the tray application did not start";

    QList<QByteArray> shots;
    QStringList originals;
    for (int n = 0; n < count; ++n) {
        shots.append(Soak::screenPng(n));
        originals.append(Soak::gnomeName(n));
    }
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; n < count; ++n)
        ASSERT_TRUE(Soak::writeFile(QDir(watched.path()).filePath(originals.at(n)), shots.at(n)));
    const double written = Soak::seconds(clock);
    ASSERT_LT(written, 10.0);
    const QStringList before = Soak::contentDigests(watched.path());

    ASSERT_TRUE(waitUntilNamed(profile, watched.path(), originals, 1500000))
        << recordsOnDisk(profile).size() << " records";
    const double named = Soak::seconds(clock);
    const double trayPeak = Soak::peakMiB(tray->processId());
    EXPECT_EQ(Soak::contentDigests(watched.path()), before);
    const QList<RenameRecord> records = recordsOnDisk(profile);
    EXPECT_EQ(records.size(), count);
    expectEachNamedOnce(records, originals, watched.path());
    EXPECT_TRUE(Soak::stopTray(*tray));
    Soak::report("burst",
                 QStringLiteral("%1 screenshots written in %2 s; all named %3 s after the first (%4 per second); %5 "
                                "records, %6 files, contents unchanged; application peak %7 MiB")
                     .arg(count)
                     .arg(written, 0, 'f', 2)
                     .arg(named, 0, 'f', 1)
                     .arg(count / named, 0, 'f', 2)
                     .arg(records.size())
                     .arg(Soak::fileNames(watched.path()).size())
                     .arg(trayPeak, 0, 'f', 0));
}

TEST(ApplicationSoakTest, anApplicationKilledAtWorkNamesTheRestAtItsNextStart)
{
    constexpr int count = 40;
    TestProfile profile(noModelServer);
    TempDir watched;
    Soak::prepareTrayProfile(profile, watched.path());
    std::unique_ptr<QProcess> tray = Soak::startTray(profile);
    ASSERT_TRUE(tray);

    QStringList originals;
    for (int n = 0; n < count; ++n) {
        originals.append(Soak::gnomeName(n));
        ASSERT_TRUE(Soak::writeFile(QDir(watched.path()).filePath(originals.last()), Soak::screenPng(n)));
    }
    const QStringList before = Soak::contentDigests(watched.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return recordsOnDisk(profile).size() >= 5; }, 300000));
    ::kill(static_cast<pid_t>(tray->processId()), SIGKILL);
    ASSERT_TRUE(TestProfile::waitForExit(*tray, 10000));
    const int namedBefore = static_cast<int>(recordsOnDisk(profile).size());
    const HistoryStore::Registry registry = HistoryStore::decodeRegistry(
        Soak::readFile(QDir(profile.historyDirectory()).filePath(QStringLiteral("registry.json"))));
    EXPECT_LT(namedBefore, count) << "killed too late to tell";

    QElapsedTimer clock;
    clock.start();
    tray = Soak::startTray(profile);
    ASSERT_TRUE(tray);
    ASSERT_TRUE(waitUntilNamed(profile, watched.path(), originals, 600000)) << recordsOnDisk(profile).size();
    const double rest = Soak::seconds(clock);
    EXPECT_EQ(Soak::contentDigests(watched.path()), before);
    expectEachNamedOnce(recordsOnDisk(profile), originals, watched.path());
    EXPECT_TRUE(registry.pending.size() > 0 || namedBefore == count);
    // The last marks go with the next debounced save.
    EXPECT_TRUE(QTest::qWaitFor([&] { return HistoryStore(profile.historyDirectory()).pendingCount() == 0; }, 30000));
    EXPECT_TRUE(Soak::stopTray(*tray));
    Soak::report("killed at work",
                 QStringLiteral("%1 screenshots; killed (SIGKILL) after %2 were named, %3 marked pending on disk; the "
                                "next start named the other %4 in %5 s; %1 records, contents unchanged")
                     .arg(count)
                     .arg(namedBefore)
                     .arg(registry.pending.size())
                     .arg(count - namedBefore)
                     .arg(rest, 0, 'f', 1));
}

TEST(ApplicationSoakTest, damagedFilesAreKeptAsideAndRepairedByTheNextSave)
{
    // Sound forms of the three files, to cut short.
    RenameRecord sample;
    sample.id = QUuid::createUuid();
    sample.date = QDateTime::currentDateTimeUtc();
    sample.folderPath = QStringLiteral("/tmp");
    sample.originalName = QStringLiteral("Screenshot From 2026-11-12 10-42-17.png");
    sample.currentName = QStringLiteral("Quarterly budget review.png");
    const QByteArray history = HistoryStore::encodeRecords({sample, sample, sample});
    const QByteArray registry = HistoryStore::encodeRegistry({});
    const QByteArray settings = KeyValueStore::encode({{QStringLiteral("interfaceLanguage"), QStringLiteral("en")},
                                                       {QStringLiteral("ocrFallback"), true},
                                                       {QStringLiteral("lastSeen"), QDateTime::currentDateTimeUtc()}});
    QByteArray garbage(4096, '\0');
    QRandomGenerator random(18);
    for (char &byte : garbage)
        byte = static_cast<char>(random.bounded(256));
    const QByteArray big(50 * 1024 * 1024, 'z');

    struct Damage
    {
        const char *name;
        QByteArray history;
        QByteArray registry;
        QByteArray settings;
    };
    const QList<Damage> damages{
        {"truncated", history.left(history.size() / 2), registry.left(registry.size() / 2),
         settings.left(settings.size() / 2)},
        {"garbage", garbage, garbage, garbage},
        {"wrong types", R"([{"id": 5, "date": true, "originalName": [], "currentName": {}}, 7, "x"])",
         R"({"handled": {"inode": "x"}, "failed": 7, "pending": [1, 2]})",
         R"({"interfaceLanguage": {"number": "en"}, "ocrFallback": {"bool": "yes"}, "folders": 12})"},
        {"50 MB", "[\"" + big + "\"]", "{\"handled\": [\"" + big + "\"]}",
         "{\"padding\": {\"string\": 7, \"x\": \"" + big + "\"}}"},
    };
    for (const Damage &damage : damages) {
        SCOPED_TRACE(damage.name);
        TestProfile profile(noModelServer);
        const QString settingsPath = profile.settingsStore()->filePath();
        const QDir historyDir(profile.historyDirectory());
        ASSERT_TRUE(historyDir.mkpath(QStringLiteral(".")));
        const QString historyPath = historyDir.filePath(QStringLiteral("history.json"));
        const QString registryPath = historyDir.filePath(QStringLiteral("registry.json"));
        ASSERT_TRUE(Soak::writeFile(settingsPath, damage.settings));
        ASSERT_TRUE(Soak::writeFile(historyPath, damage.history));
        ASSERT_TRUE(Soak::writeFile(registryPath, damage.registry));

        // The application starts; its first settings save keeps the damaged file aside and writes a sound one.
        QElapsedTimer clock;
        clock.start();
        const std::unique_ptr<QProcess> tray = Soak::startTray(profile);
        ASSERT_TRUE(tray) << "did not start";
        const double started = Soak::seconds(clock);
        const auto keptAside = [](const QString &path) {
            const QFileInfo info(path);
            const QStringList copies =
                info.dir().entryList({info.fileName() + QStringLiteral(".damaged-*")}, QDir::Files);
            return copies.size() == 1 ? info.dir().filePath(copies.first()) : QString();
        };
        // The copy is made just before the sound file replaces the damaged one.
        const auto settingsSound = [&] {
            bool incomplete = false;
            return KeyValueStore::decode(Soak::readFile(settingsPath), &incomplete).has_value() && !incomplete;
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return !keptAside(settingsPath).isEmpty() && settingsSound(); }, 30000));
        EXPECT_EQ(Soak::readFile(keptAside(settingsPath)), damage.settings);

        // A rename by the command line saves the history: both files are kept aside and written sound.
        {
            KeyValueStore store(settingsPath);
            store.setBoolean(QStringLiteral("ocrFallback"), true);
            store.setString(QStringLiteral("modelEndpoint"), noModelServer);
        }
        TempDir chosen;
        const QString shot = chosen.filePath(Soak::gnomeName(0));
        ASSERT_TRUE(Soak::writeFile(shot, Soak::screenPng(0)));
        const std::unique_ptr<QProcess> rename = profile.startZentrope({QStringLiteral("rename"), shot});
        ASSERT_TRUE(TestProfile::waitForExit(*rename, 170000));
        EXPECT_EQ(rename->exitCode(), 0) << rename->readAllStandardError().toStdString();
        EXPECT_EQ(Soak::readFile(keptAside(historyPath)), damage.history);
        EXPECT_EQ(Soak::readFile(keptAside(registryPath)), damage.registry);
        bool historyDamaged = false;
        bool registryDamaged = false;
        EXPECT_EQ(HistoryStore::decodeRecords(Soak::readFile(historyPath), &historyDamaged).size(), 1);
        HistoryStore::decodeRegistry(Soak::readFile(registryPath), &registryDamaged);
        EXPECT_FALSE(historyDamaged);
        EXPECT_FALSE(registryDamaged);

        const double peak = Soak::peakMiB(tray->processId());
        EXPECT_EQ(tray->state(), QProcess::Running);
        EXPECT_TRUE(Soak::stopTray(*tray));
        Soak::report("damaged files",
                     QStringLiteral("%1: started in %2 s (application peak %3 MiB); all three kept aside unchanged and "
                                    "written sound by the next save")
                         .arg(QString::fromLatin1(damage.name))
                         .arg(started, 0, 'f', 2)
                         .arg(peak, 0, 'f', 0));
    }
}
