// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "CheckpointRow.h"
#include "CheckpointListModel.h"
#include "HomeChecklist.h"

#include "L10n.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

namespace {

using S = CheckpointStatus;
using Action = CheckpointRow::Action;

class CheckpointRowTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }
};

QList<S> statuses(const QList<CheckpointRow> &rows)
{
    QList<S> list;
    for (const CheckpointRow &row : rows)
        list.append(row.status);
    return list;
}

TEST_F(CheckpointRowTest, IntelligenceRowsForEachAvailability)
{
    struct Case
    {
        AIAvailability ai;
        std::optional<bool> languageSupported;
        QList<S> expected; // device, language, enabled, model (the last two are the checker's, tested with it)
    };
    const Case cases[] = {
        {AIAvailability::available(), false, {S::done, S::done, S::done, S::done}},
        {AIAvailability::deviceNotEligible(), std::nullopt, {S::blocked, S::blocked, S::blocked, S::blocked}},
        {AIAvailability::notEnabled(), std::nullopt, {S::done, S::done, S::action, S::blocked}},
        {AIAvailability::notEnabled(), false, {S::done, S::action, S::blocked, S::blocked}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ai.debugDescription().toStdString());
        CheckpointRow::Facts facts;
        facts.ai = c.ai;
        facts.languageSupported = c.languageSupported;
        EXPECT_EQ(statuses(CheckpointRow::intelligence(facts, false)), c.expected);
    }
}

TEST_F(CheckpointRowTest, ActionsAndDetailsFollowTheStatuses)
{
    CheckpointRow::Facts facts;
    facts.ai = AIAvailability::notEnabled();
    facts.languageSupported = false;
    facts.languageName = QStringLiteral("German");
    QList<CheckpointRow> rows = CheckpointRow::intelligence(facts, false);
    EXPECT_EQ(rows.at(1).action, Action::openModelSettings);
    EXPECT_EQ(rows.at(1).detail, QStringLiteral("German · ") + L("check.siri.bad"));
    // Blocked by the language: the switched-on row offers nothing to press.
    EXPECT_EQ(rows.at(2).action, Action::none);
    EXPECT_EQ(rows.at(3).detail, L("check.model.pending"));

    facts.ai = AIAvailability::modelNotReady();
    facts.languageSupported = std::nullopt;
    EXPECT_EQ(CheckpointRow::intelligence(facts, false).at(3).detail, L("check.model.waiting"));

    // Without image input the vision row is a tip naming the model.
    facts.ai = AIAvailability::available();
    facts.modelName = QStringLiteral("llama3.2:3b");
    rows = CheckpointRow::intelligence(facts, true);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows.at(4).status, S::tip);
    EXPECT_TRUE(rows.at(4).detail.contains(QStringLiteral("llama3.2:3b")));
    EXPECT_EQ(rows.at(4).action, Action::openVisionModels);
    facts.hasVision = true;
    EXPECT_EQ(CheckpointRow::intelligence(facts, true).at(4).action, Action::none);
}

TEST_F(CheckpointRowTest, HomeChecklistShowsOnlyWhatIsMissing)
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
    EXPECT_EQ(HomeChecklist::rows(in).at(0).key, QStringLiteral("pack"));
    EXPECT_EQ(HomeChecklist::rows(in).at(0).action, Action::getRussianModel);

    in = {};
    in.facts.ai = AIAvailability::notEnabled();
    EXPECT_TRUE(HomeChecklist::needsAttention(in));
    const QList<CheckpointRow> rows = HomeChecklist::rows(in);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows.at(0).action, Action::chooseFolder);
    EXPECT_EQ(rows.at(4).key, QStringLiteral("model"));

    EXPECT_TRUE(HomeChecklist::deferredText(0).isEmpty());
    EXPECT_EQ(HomeChecklist::deferredText(3), L("home.deferred", LPlural("count.screenshots", 3)));
}

TEST_F(CheckpointRowTest, ListModelReplacesRowsOnlyWhenTheyDiffer)
{
    CheckpointListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    CheckpointRow::Facts facts;
    facts.ai = AIAvailability::notEnabled();
    const QList<CheckpointRow> rows = CheckpointRow::intelligence(facts, true);
    model.setRows(rows);
    model.setRows(rows);
    EXPECT_EQ(resets, 1);
    ASSERT_EQ(model.rowCount(), 5);
    const QModelIndex second = model.index(2);
    EXPECT_EQ(model.data(second, CheckpointListModel::StatusRole).toString(), QStringLiteral("action"));
    EXPECT_EQ(model.data(second, CheckpointListModel::ActionRole).toString(), QStringLiteral("openModelSettings"));
    model.setRows({});
    EXPECT_EQ(model.count(), 0);
}

} // namespace
