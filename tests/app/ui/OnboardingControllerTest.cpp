// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "UiDoubles.h"

#include "CoroTest.h"
#include "L10n.h"
#include "OnboardingController.h"

#include <gtest/gtest.h>

namespace {

using Step = OnboardingController::Step;

class OnboardingControllerTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }
};

// The walk through every step with the real window is a journey; here the edges it does not reach.
TEST_F(OnboardingControllerTest, GoStaysInRangeKeepsItsDirectionAndWaitsForAFolder)
{
    SeededUi seeded(0);
    const QList<WatchedFolder> folders = seeded.settings->folders();
    seeded.settings->setFolders({});
    OnboardingController &onboarding = *seeded.ui->onboarding();
    seeded.router.setShowsSetup(true);

    EXPECT_EQ(onboarding.mainButtonTitle(), L("setup.start"));
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

TEST_F(OnboardingControllerTest, FinishSaysWhetherAnythingWillBeRenamedAndWhy)
{
    struct Case
    {
        bool folder;
        bool model;
        bool ocr;
        const char *subtitle;
        const char *hint;
    };
    const Case cases[] = {
        {true, true, false, "setup.finish.subtitle", "setup.finish.try.sub"},
        {true, false, true, "setup.finish.subtitle", "setup.finish.try.sub"},
        {true, false, false, "setup.finish.notYet.noAI", "setup.finish.try.noAI"},
        {false, true, true, "setup.finish.notYet.noFolder", "setup.finish.try.noFolder"},
        {false, false, false, "setup.finish.notYet.noFolder", "setup.finish.try.noFolder"},
    };
    for (const Case &c : cases) {
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

TEST_F(OnboardingControllerTest, TheTryCardShowsOnlyARenameMadeAfterTheStepAppeared)
{
    SeededUi seeded(2);
    OnboardingController &onboarding = *seeded.ui->onboarding();
    onboarding.finishShown();
    EXPECT_TRUE(onboarding.triedName().isEmpty());

    RenameRecord record = seeded.history->records().first();
    record.id = QUuid::createUuid();
    record.date = seeded.clock.now().addSecs(-1);
    record.currentName = QStringLiteral("Earlier one.png");
    seeded.history->add(record);
    EXPECT_TRUE(onboarding.triedName().isEmpty());

    record.id = QUuid::createUuid();
    record.date = seeded.clock.now().addSecs(4);
    record.currentName = QStringLiteral("Release notes v1.2 draft.png");
    seeded.history->add(record);
    EXPECT_EQ(onboarding.triedName(), QStringLiteral("Release notes v1.2 draft"));
}

TEST_F(OnboardingControllerTest, NotificationSwitchWritesOffAndOpensSettingsWhenDenied)
{
    SeededUi seeded(0);
    OnboardingController &onboarding = *seeded.ui->onboarding();
    EXPECT_TRUE(onboarding.notifyOn());
    onboarding.setNotify(false);
    EXPECT_EQ(seeded.settings->notifications(), NotificationMode::off);
    EXPECT_FALSE(onboarding.notifyOn());
    onboarding.setNotify(true);
    EXPECT_EQ(seeded.settings->notifications(), NotificationMode::all);
    EXPECT_TRUE(seeded.opened.isEmpty());

    // Refused by the desktop: the switch stays off, and turning it on leads to the desktop's settings.
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
    seeded.ui->setChecker(seeded.checker.get());
}

} // namespace
