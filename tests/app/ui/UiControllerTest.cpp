// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "UiDoubles.h"

#include "CoroTest.h"
#include "L10n.h"
#include "SettingsAddress.h"

#include <gtest/gtest.h>

namespace {

class UiControllerTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }
};

TEST_F(UiControllerTest, ShowAllExpandsTheHomeListBeyondFive)
{
    SeededUi five(5);
    EXPECT_FALSE(five.ui->hasMoreRecords());
    SeededUi six(6);
    EXPECT_TRUE(six.ui->hasMoreRecords());
    EXPECT_EQ(six.ui->homeRecords()->rowCount(), UiController::collapsedCount);
    EXPECT_EQ(six.ui->showAllText(), L("home.showAll"));
    six.ui->setShowAll(true);
    EXPECT_EQ(six.ui->homeRecords()->rowCount(), 6);
    EXPECT_EQ(six.ui->showAllText(), L("home.showLess"));
    EXPECT_EQ(six.ui->panelRecords()->rowCount(), UiController::panelRows);
    // Expanding lasts for one opening of the window.
    six.ui->windowClosed();
    EXPECT_FALSE(six.ui->showAll());
    EXPECT_EQ(six.ui->homeRecords()->rowCount(), UiController::collapsedCount);
}

TEST_F(UiControllerTest, ChecklistFollowsTheCheckerAndActionsOpenTheRightPlaces)
{
    SeededUi seeded(0, AIAvailability::notEnabled());
    EXPECT_TRUE(seeded.ui->needsAttention());
    EXPECT_EQ(seeded.ui->statusKind(), QStringLiteral("attention"));
    EXPECT_EQ(seeded.ui->attentionText(), L("menu.fix.ai"));
    EXPECT_EQ(seeded.ui->checklist()->count(), 4);

    seeded.ui->runCheckpointAction(QStringLiteral("openModelSettings"));
    seeded.ui->runCheckpointAction(QStringLiteral("openVisionModels"));
    seeded.ui->runCheckpointAction(QStringLiteral("nonsense"));
    EXPECT_EQ(seeded.opened,
              (QStringList{SettingsAddress::modelServerSettings().first(), SettingsAddress::visionModels().first()}));

    seeded.ui->openGuide();
    seeded.ui->openHome();
    EXPECT_EQ(seeded.windowRequests, 2);
}

TEST_F(UiControllerTest, UnknownRecordsAndChoicesChangeNothing)
{
    SeededUi seeded(2);
    EXPECT_EQ(seeded.ui->rename(QStringLiteral("not a uuid"), QStringLiteral("x")), L("history.missing"));
    const QString id = uuidText(seeded.history->records().first().id);
    // An empty name is refused by the model with its own text, and nothing changes.
    EXPECT_FALSE(seeded.ui->rename(id, QStringLiteral("   ")).isEmpty());
    EXPECT_EQ(seeded.history->records().first().currentName, QStringLiteral("Renamed screenshot 1.png"));

    seeded.ui->setAppearanceIndex(2);
    EXPECT_EQ(seeded.settings->appearance(), AppearanceMode::dark);
    seeded.ui->setAppearanceIndex(9);
    EXPECT_EQ(seeded.settings->appearance(), AppearanceMode::dark);
}

} // namespace
