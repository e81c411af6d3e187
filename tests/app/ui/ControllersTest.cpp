// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "UiDoubles.h"

#include "CoroTest.h"
#include "FolderAccess.h"
#include "L10n.h"
#include "OnboardingController.h"
#include "SettingsAddress.h"
#include "SettingsController.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

using Step = OnboardingController::Step;

class ControllersTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }
    void TearDown() override { L10n::apply(InterfaceLanguage::en); }
};

TEST_F(ControllersTest, ShowAllExpandsTheHomeListBeyondFiveForOneOpeningOfTheWindow)
{
    EXPECT_FALSE(SeededUi(5).ui->hasMoreRecords());
    SeededUi six(6);
    EXPECT_TRUE(six.ui->hasMoreRecords());
    EXPECT_EQ(six.ui->homeRecords()->rowCount(), UiController::collapsedCount);
    six.ui->setShowAll(true);
    EXPECT_EQ(six.ui->homeRecords()->rowCount(), 6);
    EXPECT_EQ(six.ui->panelRecords()->rowCount(), UiController::panelRows);
    six.ui->windowClosed();
    EXPECT_FALSE(six.ui->showAll());
    EXPECT_EQ(six.ui->homeRecords()->rowCount(), UiController::collapsedCount);
}

TEST_F(ControllersTest, ChecklistFollowsTheCheckerAndUnknownActionsRecordsAndChoicesChangeNothing)
{
    SeededUi seeded(2, AIAvailability::notEnabled());
    EXPECT_TRUE(seeded.ui->needsAttention());
    EXPECT_EQ(seeded.ui->attentionText(), L("menu.fix.ai"));
    EXPECT_EQ(seeded.ui->checklist()->count(), 4);
    for (const char *action : {"openModelSettings", "openVisionModels", "nonsense"})
        seeded.ui->runCheckpointAction(QString::fromLatin1(action));
    EXPECT_EQ(seeded.opened,
              (QStringList{SettingsAddress::modelServerSettings().first(), SettingsAddress::visionModels().first()}));
    seeded.ui->openGuide();
    seeded.ui->openHome();
    EXPECT_EQ(seeded.windowRequests, 2);

    EXPECT_EQ(seeded.ui->rename(QStringLiteral("not a uuid"), QStringLiteral("x")), L("history.missing"));
    // An empty name is refused by the model with its own text.
    EXPECT_FALSE(seeded.ui->rename(uuidText(seeded.history->records().first().id), QStringLiteral("   ")).isEmpty());
    EXPECT_EQ(seeded.history->records().first().currentName, QStringLiteral("Renamed screenshot 1.png"));
    seeded.ui->setAppearanceIndex(2);
    seeded.ui->setAppearanceIndex(9);
    EXPECT_EQ(seeded.settings->appearance(), AppearanceMode::dark);
}

// The walk through every step with the real window is a journey; here the edges it does not reach.
TEST_F(ControllersTest, OnboardingGoStaysInRangeKeepsItsDirectionAndWaitsForAFolder)
{
    SeededUi seeded(0);
    const QList<WatchedFolder> folders = seeded.settings->folders();
    seeded.settings->setFolders({});
    OnboardingController &onboarding = *seeded.ui->onboarding();
    seeded.router.setShowsSetup(true);
    onboarding.go(-1);
    EXPECT_EQ(onboarding.step(), Step::welcome);
    onboarding.go(2);
    EXPECT_EQ(onboarding.step(), Step::folder);
    EXPECT_TRUE(onboarding.forward());
    onboarding.go(1);
    EXPECT_EQ(onboarding.step(), Step::folder);
    seeded.settings->setFolders(folders);
    onboarding.go(1);
    onboarding.go(-1);
    EXPECT_FALSE(onboarding.forward());
    EXPECT_EQ(onboarding.step(), Step::folder);
    onboarding.go(3);
    EXPECT_EQ(onboarding.step(), Step::finish);
    EXPECT_EQ(onboarding.mainButtonTitle(), L("setup.finish"));
    EXPECT_FALSE(seeded.settings->onboardingDone());
}

TEST_F(ControllersTest, OnboardingFinishSaysWhetherAnythingWillBeRenamedAndWhy)
{
    const struct
    {
        bool folder, model, ocr;
        const char *subtitle, *hint;
    } cases[] = {
        {true, true, false, "setup.finish.subtitle", "setup.finish.try.sub"},
        {true, false, true, "setup.finish.subtitle", "setup.finish.try.sub"},
        {true, false, false, "setup.finish.notYet.noAI", "setup.finish.try.noAI"},
        {false, true, true, "setup.finish.notYet.noFolder", "setup.finish.try.noFolder"},
        {false, false, false, "setup.finish.notYet.noFolder", "setup.finish.try.noFolder"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.subtitle + std::string(" ") + c.hint);
        SeededUi seeded(0, c.model ? AIAvailability::available() : AIAvailability::notEnabled());
        runTask(seeded.model->syncAvailability(false));
        if (!c.folder)
            seeded.settings->setFolders({});
        seeded.settings->setOcrFallback(c.ocr);
        const OnboardingController &onboarding = *seeded.ui->onboarding();
        EXPECT_EQ(onboarding.willRename(), c.folder && (c.model || c.ocr));
        EXPECT_EQ(onboarding.finishSubtitle(), L(c.subtitle));
        EXPECT_EQ(onboarding.tryHint(), L(c.hint));
        EXPECT_EQ(onboarding.showsServerHelp(), !c.model);
    }
}

TEST_F(ControllersTest, OnboardingTryCardShowsOnlyARenameMadeAfterTheStepAppeared)
{
    SeededUi seeded(2);
    OnboardingController &onboarding = *seeded.ui->onboarding();
    onboarding.finishShown();
    RenameRecord record = seeded.history->records().first();
    for (const auto &[offset, name] : {std::pair{-1, u"Earlier one.png"_qs}, {4, u"Release notes v1.2 draft.png"_qs}}) {
        EXPECT_TRUE(onboarding.triedName().isEmpty());
        record.id = QUuid::createUuid();
        record.date = seeded.clock.now().addSecs(offset);
        record.currentName = name;
        seeded.history->add(record);
    }
    EXPECT_EQ(onboarding.triedName(), QStringLiteral("Release notes v1.2 draft"));
}

// Refused by the desktop: the switch stays off, turning it on leads to the desktop's settings, and the settings tab
// warns only while a mode that notifies is chosen.
TEST_F(ControllersTest, NotificationChoicesWriteThroughAndADenialIsShownWhileTheyAreWanted)
{
    SeededUi seeded(0);
    OnboardingController &onboarding = *seeded.ui->onboarding();
    onboarding.setNotify(false);
    EXPECT_EQ(seeded.settings->notifications(), NotificationMode::off);
    EXPECT_FALSE(onboarding.notifyOn());
    onboarding.setNotify(true);
    EXPECT_EQ(seeded.settings->notifications(), NotificationMode::all);
    EXPECT_TRUE(seeded.opened.isEmpty());

    SetupChecker::Sources sources;
    sources.notificationsAllowed = []() -> QCoro::Task<std::optional<bool>> { co_return false; };
    SetupChecker denied(std::move(sources), AIAvailability::available());
    runTask(denied.refresh());
    seeded.ui->setChecker(&denied);
    EXPECT_FALSE(onboarding.notifyOn());
    onboarding.setNotify(true);
    EXPECT_EQ(seeded.opened, QStringList{QStringLiteral("gnome-control-center notifications")});
    EXPECT_TRUE(onboarding.showsNotifyDenied());
    EXPECT_FALSE(onboarding.notifyOn());

    SettingsController &tab = *seeded.ui->settingsTab();
    tab.setNotificationIndex(2);
    runTask(denied.refresh());
    EXPECT_FALSE(tab.showsNotificationWarning());
    // Asked again at once, without waiting for the next poll.
    tab.setNotificationIndex(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tab.showsNotificationWarning(); }, 3000));
    seeded.ui->setChecker(seeded.checker.get());
}

TEST_F(ControllersTest, SettingsPreviewTestDetailAndModelChoices)
{
    const QDateTime now(QDate(2026, 11, 12), QTime(10, 42, 17), Qt::UTC);
    NamingOptions russian;
    russian.language = NameLanguage::ru;
    NamingOptions styled;
    styled.separator = NameSeparator::dash;
    styled.letterCase = NameCase::lower;
    styled = withDateChoice(styled, DateChoice::prefix);
    styled.maxLength = 20;
    // The sample title is in the names' language, which follows the interface unless chosen.
    const struct
    {
        NamingOptions options;
        const char *interfaceCode;
        QString expected;
    } cases[] = {
        {NamingOptions{}, "en", u"GitHub pull request review for parser.png"_qs},
        {NamingOptions{}, "ru", u"Обсуждение релиза в Telegram.png"_qs},
        {russian, "en", u"Обсуждение релиза в Telegram.png"_qs},
        {styled, "ru", u"2026-11-12-обсуждение-релиза-в.png"_qs},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SettingsController::previewName(c.options, QString::fromLatin1(c.interfaceCode), now), c.expected);

    AnalyzeResponse response;
    response.engine = NamingEngineKind::ai;
    response.duration = 2.345;
    response.engine = NamingEngineKind::ocr;
    response.languageFallback = true;
    EXPECT_EQ(SettingsController::testDetail(response),
              QStringLiteral("2.3 s · ") + L("tag.ocr") + QStringLiteral(" · ") + L("ai.test.langFallback"));

    const QList<ModelStatus::Offered> offered{{u"phi4-mini:latest"_qs, false}, {u"qwen2.5vl:7b"_qs, true}};
    const QStringList all{QString(), u"phi4-mini:latest"_qs, u"qwen2.5vl:7b"_qs};
    EXPECT_EQ(SettingsController::modelNames(offered, u"PHI4-mini"_qs), all);
    // A chosen model the server does not list stays a choice, so the chooser still shows it.
    EXPECT_EQ(SettingsController::modelNames(offered, u"gemma3"_qs), all + QStringList{u"gemma3"_qs});
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

TEST_F(ControllersTest, SettingsControlsWriteThroughARemoteServerWaitsForConsentAndAFailedTestSaysWhy)
{
    SeededUi seeded(2);
    SettingsController &tab = *seeded.ui->settingsTab();
    tab.setDateIndex(3);
    EXPECT_EQ(seeded.settings->naming().datePosition, DatePosition::prefix);
    EXPECT_EQ(seeded.settings->naming().dateStyle, DateStyle::dateTime);
    tab.setMaxLengthFromSlider(63);
    EXPECT_EQ(tab.maxLength(), 65);

    tab.setAutomaticServer(false);
    tab.setServerAddress(QStringLiteral("http://"));
    EXPECT_EQ(tab.serverError(), L("model.server.invalid"));
    tab.setServerAddress(QStringLiteral("192.0.2.7:11434"));
    EXPECT_TRUE(tab.serverError().isEmpty());
    EXPECT_TRUE(tab.remoteQuestion().contains(QStringLiteral("http://192.0.2.7:11434")));
    tab.cancelRemote();
    EXPECT_TRUE(seeded.settings->modelEndpoint().isEmpty());
    tab.setServerAddress(QStringLiteral("192.0.2.7:11434"));
    tab.confirmRemote();
    EXPECT_EQ(seeded.settings->modelEndpoint(), QStringLiteral("192.0.2.7:11434"));
    EXPECT_TRUE(seeded.settings->modelAllowRemote());
    tab.setAutomaticServer(true);
    EXPECT_TRUE(seeded.settings->modelEndpoint().isEmpty());
    EXPECT_FALSE(seeded.settings->modelAllowRemote());

    OneImage chooser(seeded.history->records().first().filePath());
    SettingsController::Services services;
    services.folderAccess = &chooser;
    SettingsController tester(*seeded.model, *seeded.settings, *seeded.history, services);
    tester.runTest();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tester.testing(); }, 5000));
    EXPECT_EQ(tester.testError(), QStringLiteral("silent"));
    EXPECT_TRUE(tester.testName().isEmpty());
}

} // namespace
