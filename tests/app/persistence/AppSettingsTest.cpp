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

    QString path() const { return dir.filePath(QStringLiteral("zentrope/settings.json")); }
    std::shared_ptr<KeyValueStore> store() const { return std::make_shared<KeyValueStore>(path()); }

    TempDir dir;
};

WatchedFolder folder(const char *path, bool enabled)
{
    return {QUuid::createUuid(), QString::fromUtf8(path), QByteArray("bookmark\x01\x02", 10), enabled};
}
} // namespace

TEST_F(AppSettingsTest, FirstLaunchWritesNothingAndStoredValuesAreReadOnlyWhenTheirTypeAndTextFit)
{
    EXPECT_FALSE(AppSettings(store()).onboardingDone());
    EXPECT_FALSE(QFile::exists(path()));

    const auto s = store();
    s->setString(QStringLiteral("autoProcessing"), QStringLiteral("NO"));
    s->setNumber(QStringLiteral("ocrFallback"), 1);
    s->setString(QStringLiteral("scope"), QStringLiteral("everything"));
    s->setString(QStringLiteral("notifications"), QStringLiteral("errors"));
    s->setString(QStringLiteral("appearance"), QStringLiteral("dark"));
    s->setString(QStringLiteral("interfaceLanguage"), QStringLiteral("de"));
    s->setString(QStringLiteral("lastSeenDate"), QStringLiteral("2026-11-12T10:42:17Z"));
    s->setString(QStringLiteral("folders"), QStringLiteral("[]"));
    s->setBytes(QStringLiteral("modelName"), "llava");
    s->setString(QStringLiteral("modelTimeLimit"), QStringLiteral("45"));
    s->setString(QStringLiteral("onboardingDone"), QStringLiteral("YES")); // read leniently, unlike the others

    const AppSettings settings(s);
    EXPECT_TRUE(settings.autoProcessing());
    EXPECT_FALSE(settings.ocrFallback());
    EXPECT_EQ(settings.scope(), ProcessingScope::screenshots);
    EXPECT_EQ(settings.notifications(), NotificationMode::errors);
    EXPECT_EQ(settings.appearance(), AppearanceMode::dark);
    EXPECT_EQ(settings.interfaceLanguage(), InterfaceLanguage::system);
    EXPECT_EQ(settings.lastSeenDate(), std::nullopt);
    EXPECT_TRUE(settings.folders().isEmpty());
    EXPECT_TRUE(settings.modelName().isEmpty());
    EXPECT_EQ(settings.modelTimeLimit(), 90);
    EXPECT_TRUE(settings.onboardingDone());
}

TEST_F(AppSettingsTest, CorruptedNamingFallsBackAsAWholeUntilItIsAssigned)
{
    const QByteArray withoutMaxLength =
        R"({"language":"ru","separator":"dash","letterCase":"lower","datePosition":"prefix","dateStyle":"date"})";
    const auto s = store();
    s->setBytes(QStringLiteral("naming"), withoutMaxLength);
    {
        AppSettings settings(s);
        EXPECT_EQ(settings.naming(), NamingOptions());
        // Loading leaves the stored value alone.
        EXPECT_EQ(s->bytes(QStringLiteral("naming")), withoutMaxLength);

        NamingOptions options;
        options.separator = NameSeparator::underscore;
        settings.setNaming(options);
    }
    NamingOptions expected;
    expected.separator = NameSeparator::underscore;
    EXPECT_EQ(AppSettings(store()).naming(), expected);
}

TEST_F(AppSettingsTest, FoldersAreTakenWholeOrNotAtAll)
{
    const QList<WatchedFolder> folders{folder("/home/u/Pictures/Screenshots", true), folder("/home/u/Desktop", false)};
    {
        AppSettings settings(store());
        QSignalSpy changed(&settings, &AppSettings::foldersChanged);
        settings.setFolders(folders);
        EXPECT_EQ(changed.count(), 1);
    }
    EXPECT_EQ(AppSettings(store()).folders(), folders);

    const auto s = store();
    s->setBytes(QStringLiteral("folders"),
                R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a","bookmark":"AA==","enabled":true},)"
                R"({"id":"0F0E0D0C-0B0A-4908-8706-050403020100","path":"/b","bookmark":"AA=="}])");
    EXPECT_TRUE(AppSettings(s).folders().isEmpty());
}

TEST_F(AppSettingsTest, SameValueTwiceWritesTwiceAndSignalsOnce)
{
    AppSettings settings(store());
    QSignalSpy changed(&settings, &AppSettings::scopeChanged);
    settings.setScope(ProcessingScope::allImages);
    ASSERT_TRUE(QFile::remove(path()));
    settings.setScope(ProcessingScope::allImages);
    EXPECT_EQ(store()->string(QStringLiteral("scope")), QStringLiteral("allImages"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(AppSettings(store()).scope(), ProcessingScope::allImages);
}

TEST_F(AppSettingsTest, AssignmentsPersistUnderTheKeysTheAnalyzerReads)
{
    const QDateTime seen = QDateTime::fromString(QStringLiteral("2026-11-12T10:42:17.123Z"), Qt::ISODateWithMs);
    {
        AppSettings settings(store());
        settings.setAutoProcessing(false);
        settings.setAppearance(AppearanceMode::light);
        settings.setLastSeenDate(seen);
        settings.setModelEndpoint(QStringLiteral("http://127.0.0.1:8080"));
        settings.setModelName(QStringLiteral("qwen2.5vl"));
        settings.setModelTimeLimit(100000); // kept within the maximum
        settings.setModelAllowRemote(true);
    }
    EXPECT_EQ(AppSettings(store()).lastSeenDate(), seen);
    EXPECT_EQ(AppSettings(store()).modelTimeLimit(), 600);
    const KeyValueStore analyzerView(path());
    EXPECT_EQ(analyzerView.string(QStringLiteral("modelEndpoint")), QStringLiteral("http://127.0.0.1:8080"));
    EXPECT_EQ(analyzerView.string(QStringLiteral("modelName")), QStringLiteral("qwen2.5vl"));
    EXPECT_EQ(analyzerView.number(QStringLiteral("modelTimeLimit")), 600);
    ModelEnvironment models;
    models.store = &analyzerView;
    EXPECT_TRUE(models.allowsRemote());
    EXPECT_EQ(analyzerView.boolean(QStringLiteral("autoProcessing")), false);
    EXPECT_EQ(analyzerView.string(QStringLiteral("appearance")), QStringLiteral("light"));

    // Removing the last seen date removes its key.
    AppSettings settings(store());
    QSignalSpy changed(&settings, &AppSettings::lastSeenDateChanged);
    settings.setLastSeenDate(std::nullopt);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(store()->contains(QStringLiteral("lastSeenDate")));
}

TEST_F(AppSettingsTest, InterfaceLanguageIsAppliedOnLoadAndOnEveryChange)
{
    const auto s = store();
    s->setString(QStringLiteral("interfaceLanguage"), QStringLiteral("ru"));
    L10n::apply(InterfaceLanguage::en);
    AppSettings settings(s);
    EXPECT_EQ(settings.interfaceLanguage(), InterfaceLanguage::ru);
    EXPECT_EQ(L10n::code(), QStringLiteral("ru"));

    QString codeSeenByObserver;
    QObject::connect(&settings, &AppSettings::interfaceLanguageChanged,
                     [&codeSeenByObserver] { codeSeenByObserver = L10n::code(); });
    settings.setInterfaceLanguage(InterfaceLanguage::en);
    EXPECT_EQ(L10n::code(), QStringLiteral("en"));
    EXPECT_EQ(codeSeenByObserver, QStringLiteral("en"));
}

TEST_F(AppSettingsTest, AFailedWriteIsReportedAndTheValueKept)
{
    dir.write(QStringLiteral("blocked"));
    AppSettings settings(std::make_shared<KeyValueStore>(dir.filePath(QStringLiteral("blocked/settings.json"))));
    QSignalSpy failed(&settings, &AppSettings::writeFailed);
    settings.setOcrFallback(true);
    EXPECT_EQ(failed.count(), 1);
    EXPECT_TRUE(settings.ocrFallback());
}
