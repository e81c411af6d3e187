// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "WindowRouter.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

using Tab = WindowRouter::Tab;

TEST(WindowRouterTest, OnboardingShowsUntilDoneAndARerunStartsPastTheFolderWhenFoldersExist)
{
    WindowRouter router;
    router.route(std::nullopt, std::nullopt, false, false);
    EXPECT_TRUE(router.showsSetup());
    EXPECT_EQ(router.setupStep(), 0);
    // A finished onboarding is not hidden by a later plain opening either: only an explicit choice changes it.
    WindowRouter done;
    done.route(std::nullopt, std::nullopt, true, false);
    EXPECT_FALSE(done.showsSetup());

    router.setSetupStep(5);
    router.route(std::nullopt, true, true, true);
    EXPECT_TRUE(router.showsSetup());
    EXPECT_EQ(router.setupStep(), WindowRouter::intelligenceStep);
    router.route(std::nullopt, true, true, false);
    EXPECT_EQ(router.setupStep(), 0);
    router.setSetupStep(4);
    router.route(Tab::settings, false, false, true);
    EXPECT_FALSE(router.showsSetup());
    EXPECT_EQ(router.tab(), Tab::settings);
    // Leaving the onboarding keeps its step for the next time.
    EXPECT_EQ(router.setupStep(), 4);
}

TEST(WindowRouterTest, TabChangesSignalOnce)
{
    WindowRouter router;
    QSignalSpy tabChanged(&router, &WindowRouter::tabChanged);
    router.route(Tab::home, std::nullopt, true, true);
    EXPECT_EQ(tabChanged.count(), 0);
    router.setTabIndex(1);
    router.setTabIndex(7);
    EXPECT_EQ(router.tab(), Tab::settings);
    EXPECT_EQ(tabChanged.count(), 1);
}

} // namespace
