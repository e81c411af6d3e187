// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "StatusSummary.h"

#include "CheckpointListModel.h"
#include "CheckpointRow.h"
#include "HomeChecklist.h"
#include "L10n.h"
#include "Titles.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

namespace {

using Kind = StatusSummary::Kind;
using S = CheckpointStatus;
using Action = CheckpointRow::Action;

WatchedFolder folder(const QString &path, bool enabled = true)
{
    return WatchedFolder{QUuid::createUuid(), path, {}, enabled};
}

class StatusSummaryTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }
};

TEST_F(StatusSummaryTest, TheFirstRuleThatAppliesWins)
{
    // Every rule applies at first: working, folders all lost, paused, model available.
    StatusSummary::Inputs in{Activity::working(u"/shots/Screenshot 1.png"_qs, 3),
                             {folder(u"/shots"_qs)},
                             1,
                             false,
                             AIAvailability::available(),
                             false};
    EXPECT_EQ(StatusSummary::make(in),
              (StatusSummary{Kind::working, L("status.workingQueue", 4), u"Screenshot 1.png"_qs}));
    in.activity = Activity::working(u"/shots/last.png"_qs, 0);
    EXPECT_EQ(StatusSummary::make(in).title, L("status.working"));
    in.activity = Activity::idle();
    in.folders.clear();
    EXPECT_EQ(StatusSummary::make(in),
              (StatusSummary{Kind::attention, L("status.noFolder"), L("status.noFolder.sub")}));
    in.folders = {folder(u"/shots"_qs)};
    EXPECT_EQ(StatusSummary::make(in).title, L("status.folderLost"));
    in.unavailableFolders = 0;
    EXPECT_EQ(StatusSummary::make(in).kind, Kind::paused);
    in.autoProcessing = true;
    EXPECT_EQ(StatusSummary::make(in), (StatusSummary{Kind::ok, L("status.ok"), L("status.ok.sub", u"«shots»"_qs)}));

    // Lost only when every enabled folder is unreachable; all disabled and none unavailable is not lost.
    in.folders = {folder(u"/a"_qs), folder(u"/b"_qs), folder(u"/c"_qs, false)};
    in.unavailableFolders = 1;
    EXPECT_EQ(StatusSummary::make(in).kind, Kind::ok);
    in.unavailableFolders = 2;
    EXPECT_EQ(StatusSummary::make(in).title, L("status.folderLost"));
    in.folders = {folder(u"/a"_qs, false)};
    in.unavailableFolders = 0;
    EXPECT_EQ(StatusSummary::make(in).kind, Kind::ok);

    // An unusable model waits or asks, and says whether names come from the text meanwhile.
    in.ai = AIAvailability::modelNotReady();
    EXPECT_EQ(StatusSummary::make(in), (StatusSummary{Kind::waiting, Titles::title(in.ai), L("status.ai.ocrOff")}));
    in.ai = AIAvailability::notEnabled();
    in.ocrFallback = true;
    EXPECT_EQ(StatusSummary::make(in), (StatusSummary{Kind::attention, Titles::title(in.ai), L("status.ai.ocrOn")}));
    in.ai = AIAvailability::unknown(u"HTTP 500"_qs);
    EXPECT_EQ(StatusSummary::make(in).kind, Kind::attention);
}

TEST_F(StatusSummaryTest, IntelligenceRowsFollowTheAvailabilityAndOfferWhatCanBeDone)
{
    const auto statuses = [](const QList<CheckpointRow> &rows) {
        QList<S> list;
        for (const CheckpointRow &row : rows)
            list.append(row.status);
        return list;
    };
    const struct
    {
        AIAvailability ai;
        std::optional<bool> languageSupported;
        QList<S> expected; // device, language, enabled, model
    } cases[] = {
        {AIAvailability::available(), false, {S::done, S::done, S::done, S::done}},
        {AIAvailability::deviceNotEligible(), std::nullopt, {S::blocked, S::blocked, S::blocked, S::blocked}},
        {AIAvailability::notEnabled(), std::nullopt, {S::done, S::done, S::action, S::blocked}},
        {AIAvailability::notEnabled(), false, {S::done, S::action, S::blocked, S::blocked}},
    };
    CheckpointRow::Facts facts;
    for (const auto &c : cases) {
        facts.ai = c.ai;
        facts.languageSupported = c.languageSupported;
        EXPECT_EQ(statuses(CheckpointRow::intelligence(facts, false)), c.expected)
            << c.ai.debugDescription().toStdString();
    }

    facts.ai = AIAvailability::notEnabled();
    facts.languageSupported = false;
    facts.languageName = u"German"_qs;
    QList<CheckpointRow> rows = CheckpointRow::intelligence(facts, false);
    EXPECT_EQ(rows.at(1).action, Action::openModelSettings);
    EXPECT_EQ(rows.at(1).detail, u"German · "_qs + L("check.siri.bad"));
    // Blocked by the language: the switched-on row offers nothing to press.
    EXPECT_EQ(rows.at(2).action, Action::none);
    EXPECT_EQ(rows.at(3).detail, L("check.model.pending"));
    facts.ai = AIAvailability::modelNotReady();
    facts.languageSupported = std::nullopt;
    EXPECT_EQ(CheckpointRow::intelligence(facts, false).at(3).detail, L("check.model.waiting"));
    // Without image input the vision row is a tip naming the model.
    facts.ai = AIAvailability::available();
    facts.modelName = u"llama3.2:3b"_qs;
    rows = CheckpointRow::intelligence(facts, true);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows.at(4).status, S::tip);
    EXPECT_TRUE(rows.at(4).detail.contains(u"llama3.2:3b"_qs));
    EXPECT_EQ(rows.at(4).action, Action::openVisionModels);
    facts.hasVision = true;
    EXPECT_EQ(CheckpointRow::intelligence(facts, true).at(4).action, Action::none);
}

TEST_F(StatusSummaryTest, HomeChecklistShowsOnlyWhatIsMissingAndItsListResetsOnlyOnChange)
{
    HomeChecklist::Inputs in;
    in.hasFolders = true;
    in.facts.ai = AIAvailability::available();
    EXPECT_FALSE(HomeChecklist::needsAttention(in));
    EXPECT_TRUE(HomeChecklist::rows(in).isEmpty());
    // Russian wanted from a model that cannot write it: only a swappable model is worth the user's attention.
    in.needsRussianPack = true;
    in.translation = TranslationStatus::unsupported;
    EXPECT_FALSE(HomeChecklist::needsAttention(in));
    in.translation = TranslationStatus::supported;
    EXPECT_TRUE(HomeChecklist::needsAttention(in));
    ASSERT_EQ(HomeChecklist::rows(in).size(), 1);
    EXPECT_EQ(HomeChecklist::rows(in).at(0).action, Action::getRussianModel);

    in = {};
    in.facts.ai = AIAvailability::notEnabled();
    EXPECT_TRUE(HomeChecklist::needsAttention(in));
    const QList<CheckpointRow> rows = HomeChecklist::rows(in);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows.at(0).action, Action::chooseFolder);
    EXPECT_EQ(rows.at(4).key, u"model"_qs);
    EXPECT_TRUE(HomeChecklist::deferredText(0).isEmpty());

    CheckpointListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    model.setRows(rows);
    model.setRows(rows);
    EXPECT_EQ(resets, 1);
    ASSERT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.data(model.index(0), CheckpointListModel::ActionRole).toString(), u"chooseFolder"_qs);
}

} // namespace
