// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SettingsController.h"

#include "CoroTest.h"
#include "FolderAccess.h"
#include "KeyValueStore.h"
#include "L10n.h"
#include "UiDoubles.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

namespace {

class SettingsControllerTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }
    void TearDown() override { L10n::apply(InterfaceLanguage::en); }
};

TEST_F(SettingsControllerTest, PreviewUsesTheSampleTitleOfTheNamesLanguage)
{
    const QDateTime now(QDate(2026, 11, 12), QTime(10, 42, 17), Qt::UTC);
    NamingOptions russian;
    russian.language = NameLanguage::ru;
    NamingOptions styled;
    styled.separator = NameSeparator::dash;
    styled.letterCase = NameCase::lower;
    styled = withDateChoice(styled, DateChoice::prefix);
    styled.maxLength = 20;
    const struct
    {
        NamingOptions options;
        const char *interfaceCode;
        QString expected;
    } cases[] = {
        {NamingOptions{}, "en", QStringLiteral("GitHub pull request review for parser.png")},
        {NamingOptions{}, "ru", QStringLiteral("Обсуждение релиза в Telegram.png")},
        {russian, "en", QStringLiteral("Обсуждение релиза в Telegram.png")},
        {styled, "ru", QStringLiteral("2026-11-12-обсуждение-релиза-в.png")},
        {styled, "en", QStringLiteral("2026-11-12-github-pull-request.png")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SettingsController::previewName(c.options, QString::fromLatin1(c.interfaceCode), now), c.expected);
}

TEST_F(SettingsControllerTest, TestDetailAndModelChoices)
{
    AnalyzeResponse response;
    response.engine = NamingEngineKind::ai;
    response.duration = 2.345;
    EXPECT_EQ(SettingsController::testDetail(response), QStringLiteral("2.3 s"));
    response.engine = NamingEngineKind::ocr;
    response.languageFallback = true;
    EXPECT_EQ(SettingsController::testDetail(response),
              QStringLiteral("2.3 s · ") + L("tag.ocr") + QStringLiteral(" · ") + L("ai.test.langFallback"));

    const QList<ModelStatus::Offered> offered{{QStringLiteral("phi4-mini:latest"), false},
                                              {QStringLiteral("qwen2.5vl:7b"), true}};
    const QStringList all{QString(), QStringLiteral("phi4-mini:latest"), QStringLiteral("qwen2.5vl:7b")};
    EXPECT_EQ(SettingsController::modelNames(offered, QString()), all);
    EXPECT_EQ(SettingsController::modelNames(offered, QStringLiteral("PHI4-mini")), all);
    // A chosen model the server does not list stays a choice, so the chooser still shows it.
    EXPECT_EQ(SettingsController::modelNames(offered, QStringLiteral("gemma3")), all + QStringList{u"gemma3"_qs});
}

class OneImage final : public FolderAccess
{
public:
    explicit OneImage(QString path)
        : m_path(std::move(path))
    {}
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }
    QStringList chooseImages(bool multiple) override
    {
        EXPECT_FALSE(multiple);
        return {m_path};
    }

private:
    QString m_path;
};

TEST_F(SettingsControllerTest, ControlsWriteThroughAndAnswerWhatTheyDid)
{
    SeededUi seeded(2);
    SettingsController &tab = *seeded.ui->settingsTab();

    tab.setDateIndex(3);
    EXPECT_EQ(seeded.settings->naming().datePosition, DatePosition::prefix);
    EXPECT_EQ(seeded.settings->naming().dateStyle, DateStyle::dateTime);
    tab.setMaxLengthFromSlider(63);
    EXPECT_EQ(tab.maxLength(), 65);

    // An address that is no address is refused; one on another machine waits for the user's consent.
    tab.setAutomaticServer(false);
    EXPECT_FALSE(tab.automaticServer());
    tab.setServerAddress(QStringLiteral("http://"));
    EXPECT_EQ(tab.serverError(), L("model.server.invalid"));
    EXPECT_TRUE(seeded.settings->modelEndpoint().isEmpty());
    tab.setServerAddress(QStringLiteral("192.0.2.7:11434"));
    EXPECT_TRUE(tab.serverError().isEmpty());
    EXPECT_TRUE(tab.remoteQuestion().contains(QStringLiteral("http://192.0.2.7:11434")));
    EXPECT_TRUE(seeded.settings->modelEndpoint().isEmpty());
    tab.cancelRemote();
    EXPECT_TRUE(seeded.settings->modelEndpoint().isEmpty());
    tab.setServerAddress(QStringLiteral("192.0.2.7:11434"));
    tab.confirmRemote();
    EXPECT_EQ(seeded.settings->modelEndpoint(), QStringLiteral("192.0.2.7:11434"));
    EXPECT_TRUE(tab.remoteQuestion().isEmpty());
    EXPECT_TRUE(seeded.settings->modelAllowRemote());
    tab.setAutomaticServer(true);
    EXPECT_TRUE(seeded.settings->modelEndpoint().isEmpty());
    EXPECT_FALSE(seeded.settings->modelAllowRemote());
    tab.setServerAddress(QStringLiteral("192.0.2.8:11434"));
    EXPECT_FALSE(tab.remoteQuestion().isEmpty());
    tab.cancelRemote();

    // The test reports the analyzer's failure in place of a name and leaves the image alone.
    const QString image = seeded.history->records().first().filePath();
    const QByteArray before = [&] {
        QFile file(image);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    OneImage chooser(image);
    SettingsController::Services services;
    services.folderAccess = &chooser;
    SettingsController tester(*seeded.model, *seeded.settings, *seeded.history, services);
    tester.runTest();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tester.testing(); }, 5000));
    EXPECT_EQ(tester.testError(), QStringLiteral("silent"));
    EXPECT_TRUE(tester.testName().isEmpty());
    QFile after(image);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST_F(SettingsControllerTest, DeniedNotificationsAreShownOnlyWhileTheyAreWanted)
{
    SeededUi seeded(0);
    SetupChecker::Sources sources;
    sources.notificationsAllowed = []() -> QCoro::Task<std::optional<bool>> { co_return false; };
    SetupChecker denied(std::move(sources), AIAvailability::available());
    seeded.ui->setChecker(&denied);
    SettingsController &tab = *seeded.ui->settingsTab();

    tab.setNotificationIndex(2);
    runTask(denied.refresh());
    EXPECT_FALSE(tab.showsNotificationWarning());
    // Choosing a mode that notifies asks again at once and shows the warning without waiting for the next poll.
    tab.setNotificationIndex(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tab.showsNotificationWarning(); }, 3000));
    seeded.ui->setChecker(nullptr);
}

} // namespace
