// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "StatusSummary.h"

#include "L10n.h"
#include "Titles.h"

#include <gtest/gtest.h>

namespace {

using Kind = StatusSummary::Kind;

WatchedFolder folder(const QString &path, bool enabled = true)
{
    WatchedFolder f;
    f.id = QUuid::createUuid();
    f.path = path;
    f.enabled = enabled;
    return f;
}

class StatusSummaryTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }

    // Every rule would apply: working, folders, all lost, paused, available.
    StatusSummary::Inputs everything() const
    {
        StatusSummary::Inputs in;
        in.activity = Activity::working(QStringLiteral("/shots/Screenshot 1.png"), 3);
        in.folders = {folder(QStringLiteral("/shots"))};
        in.unavailableFolders = 1;
        in.autoProcessing = false;
        in.ai = AIAvailability::available();
        return in;
    }
};

TEST_F(StatusSummaryTest, TheFirstRuleThatAppliesWins)
{
    StatusSummary::Inputs in = everything();
    StatusSummary summary = StatusSummary::make(in);
    EXPECT_EQ(summary.kind, Kind::working);
    EXPECT_EQ(summary.title, L("status.workingQueue", 4));
    EXPECT_EQ(summary.subtitle, QStringLiteral("Screenshot 1.png"));

    in.activity = Activity::working(QStringLiteral("/shots/last.png"), 0);
    EXPECT_EQ(StatusSummary::make(in).title, L("status.working"));

    in.activity = Activity::idle();
    in.folders.clear();
    summary = StatusSummary::make(in);
    EXPECT_EQ(summary, (StatusSummary{Kind::attention, L("status.noFolder"), L("status.noFolder.sub")}));

    in.folders = {folder(QStringLiteral("/shots"))};
    summary = StatusSummary::make(in);
    EXPECT_EQ(summary, (StatusSummary{Kind::attention, L("status.folderLost"), L("status.folderLost.sub")}));

    in.unavailableFolders = 0;
    summary = StatusSummary::make(in);
    EXPECT_EQ(summary, (StatusSummary{Kind::paused, L("status.paused"), L("status.paused.sub")}));

    in.autoProcessing = true;
    summary = StatusSummary::make(in);
    EXPECT_EQ(summary, (StatusSummary{Kind::ok, L("status.ok"), L("status.ok.sub", QStringLiteral("«shots»"))}));
}

TEST_F(StatusSummaryTest, FolderLostOnlyWhenEveryEnabledFolderIsUnreachableAndAnUnusableModelWaitsOrAsks)
{
    StatusSummary::Inputs in = everything();
    in.activity = Activity::idle();
    in.autoProcessing = true;
    in.folders = {folder(QStringLiteral("/a")), folder(QStringLiteral("/b")), folder(QStringLiteral("/c"), false)};
    in.unavailableFolders = 1;
    EXPECT_EQ(StatusSummary::make(in).kind, Kind::ok);
    in.unavailableFolders = 2;
    EXPECT_EQ(StatusSummary::make(in).title, L("status.folderLost"));
    // All disabled and none unavailable is not "lost".
    in.folders = {folder(QStringLiteral("/a"), false)};
    in.unavailableFolders = 0;
    EXPECT_EQ(StatusSummary::make(in).kind, Kind::ok);

    in.ai = AIAvailability::modelNotReady();
    EXPECT_EQ(StatusSummary::make(in), (StatusSummary{Kind::waiting, Titles::title(in.ai), L("status.ai.ocrOff")}));
    in.ai = AIAvailability::notEnabled();
    in.ocrFallback = true;
    EXPECT_EQ(StatusSummary::make(in), (StatusSummary{Kind::attention, Titles::title(in.ai), L("status.ai.ocrOn")}));
    in.ai = AIAvailability::unknown(QStringLiteral("HTTP 500"));
    EXPECT_EQ(StatusSummary::make(in).kind, Kind::attention);
}

} // namespace
