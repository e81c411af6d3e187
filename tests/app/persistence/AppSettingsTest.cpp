// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppSettings.h"
#include "L10n.h"
#include "ModelEnvironment.h"
#include "TempDir.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {
class AppSettingsTest : public ::testing::Test
{
protected:
    void TearDown() override { L10n::apply(InterfaceLanguage::en); }

    QString path() const { return dir.filePath(u"zentrope/settings.json"_qs); }
    std::shared_ptr<KeyValueStore> store() const { return std::make_shared<KeyValueStore>(path()); }

    TempDir dir;
};
} // namespace

TEST_F(AppSettingsTest,
       FirstLaunchWritesNothingStoredValuesAreReadOnlyWhenTheirTypeAndTextFitAndFailedWritesAreReported)
{
    EXPECT_FALSE(AppSettings(store()).onboardingDone());
    EXPECT_FALSE(QFile::exists(path()));

    const auto s = store();
    s->setString(u"autoProcessing"_qs, u"NO"_qs);
    s->setString(u"scope"_qs, u"everything"_qs);
    s->setString(u"lastSeenDate"_qs, u"2026-11-12T10:42:17Z"_qs);
    s->setString(u"modelTimeLimit"_qs, u"45"_qs);
    s->setString(u"onboardingDone"_qs, u"YES"_qs); // read leniently, unlike the others
    s->setString(u"interfaceLanguage"_qs, u"ru"_qs);
    L10n::apply(InterfaceLanguage::en);
    const AppSettings settings(s);
    EXPECT_TRUE(settings.autoProcessing());
    EXPECT_EQ(settings.scope(), ProcessingScope::screenshots);
    EXPECT_EQ(settings.lastSeenDate(), std::nullopt);
    EXPECT_EQ(settings.modelTimeLimit(), 90);
    EXPECT_TRUE(settings.onboardingDone());
    // The stored interface language takes effect on load.
    EXPECT_EQ(L10n::code(), u"ru"_qs);

    // A failed write is reported and the value kept.
    dir.write(u"blocked"_qs);
    AppSettings blocked(std::make_shared<KeyValueStore>(dir.filePath(u"blocked/settings.json"_qs)));
    QSignalSpy failed(&blocked, &AppSettings::writeFailed);
    blocked.setOcrFallback(true);
    EXPECT_EQ(failed.count(), 1);
    EXPECT_TRUE(blocked.ocrFallback());
}

TEST_F(AppSettingsTest, CorruptedNamingAndFoldersFallBackAsAWholeUntilAssigned)
{
    const QByteArray withoutMaxLength =
        R"({"language":"ru","separator":"dash","letterCase":"lower","datePosition":"prefix","dateStyle":"date"})";
    const auto s = store();
    s->setBytes(u"naming"_qs, withoutMaxLength);
    s->setBytes(u"folders"_qs,
                R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a","bookmark":"AA==","enabled":true},)"
                R"({"id":"0F0E0D0C-0B0A-4908-8706-050403020100","path":"/b","bookmark":"AA=="}])");
    const QList<WatchedFolder> folders{
        {QUuid::createUuid(), u"/home/u/Pictures/Screenshots"_qs, QByteArray("bookmark\x01\x02", 10), true},
        {QUuid::createUuid(), u"/home/u/Desktop"_qs, QByteArray("x"), false}};
    NamingOptions options;
    options.separator = NameSeparator::underscore;
    {
        AppSettings settings(s);
        EXPECT_EQ(settings.naming(), NamingOptions());
        EXPECT_TRUE(settings.folders().isEmpty());
        // Loading leaves the stored value alone.
        EXPECT_EQ(s->bytes(u"naming"_qs), withoutMaxLength);
        QSignalSpy changed(&settings, &AppSettings::foldersChanged);
        settings.setNaming(options);
        settings.setFolders(folders);
        EXPECT_EQ(changed.count(), 1);
    }
    EXPECT_EQ(AppSettings(store()).naming(), options);
    EXPECT_EQ(AppSettings(store()).folders(), folders);
}

TEST_F(AppSettingsTest, AssignmentsPersistUnderTheKeysTheAnalyzerReadsAndTheSameValueTwiceSignalsOnce)
{
    const QDateTime seen = QDateTime::fromString(u"2026-11-12T10:42:17.123Z"_qs, Qt::ISODateWithMs);
    {
        AppSettings settings(store());
        settings.setLastSeenDate(seen);
        settings.setModelEndpoint(u"http://127.0.0.1:8080"_qs);
        settings.setModelName(u"qwen2.5vl"_qs);
        settings.setModelTimeLimit(100000); // kept within the maximum
        settings.setModelAllowRemote(true);
    }
    EXPECT_EQ(AppSettings(store()).lastSeenDate(), seen);
    const KeyValueStore analyzerView(path());
    EXPECT_EQ(analyzerView.string(u"modelEndpoint"_qs), u"http://127.0.0.1:8080"_qs);
    EXPECT_EQ(analyzerView.string(u"modelName"_qs), u"qwen2.5vl"_qs);
    EXPECT_EQ(analyzerView.number(u"modelTimeLimit"_qs), 600);
    ModelEnvironment models;
    models.store = &analyzerView;
    EXPECT_TRUE(models.allowsRemote());

    AppSettings settings(store());
    QSignalSpy dateChanged(&settings, &AppSettings::lastSeenDateChanged);
    settings.setLastSeenDate(std::nullopt);
    EXPECT_EQ(dateChanged.count(), 1);
    EXPECT_FALSE(store()->contains(u"lastSeenDate"_qs));

    // A value the user sets again is written again (the file may have gone) but signalled once.
    QSignalSpy scopeChanged(&settings, &AppSettings::scopeChanged);
    settings.setScope(ProcessingScope::allImages);
    ASSERT_TRUE(QFile::remove(path()));
    settings.setScope(ProcessingScope::allImages);
    EXPECT_EQ(store()->string(u"scope"_qs), u"allImages"_qs);
    EXPECT_EQ(scopeChanged.count(), 1);
}
