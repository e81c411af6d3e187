// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "LoginItem.h"

#include "TempDir.h"

#include <gtest/gtest.h>

// Switching on and off through the settings window is a journey; here the entries and failures it does not meet.
TEST(LoginItemTest, AHiddenEntryCountsAsOffAndIsRewrittenAndAFailedWriteSaysWhy)
{
    TempDir config;
    const LoginItem item(config.path(), QStringLiteral("/opt/My Apps/zentrope"));
    config.write(QStringLiteral("autostart/org.zentrope.Zentrope.desktop"),
                 "[Desktop Entry]\nType=Application\nExec=zentrope\nHidden=true\n");
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.set(true), std::nullopt);
    EXPECT_TRUE(item.isEnabled());
    EXPECT_EQ(item.set(false), std::nullopt);
    EXPECT_EQ(item.set(false), std::nullopt);
    EXPECT_FALSE(item.isEnabled());

    // A file where the autostart folder should be makes the folder impossible to create.
    config.write(QStringLiteral("blocked/autostart"), "not a folder");
    const LoginItem blocked(config.filePath(QStringLiteral("blocked")), QStringLiteral("/usr/bin/zentrope"));
    const auto error = blocked.set(true);
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->isEmpty());
    EXPECT_FALSE(blocked.isEnabled());
}

TEST(LoginItemTest, ExecQuotingFollowsTheDesktopEntryRules)
{
    EXPECT_TRUE(LoginItem::entryText(QStringLiteral("/usr/bin/zentrope")).startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(
        LoginItem::entryText(QStringLiteral("/usr/bin/zentrope")).contains("\nExec=/usr/bin/zentrope --autostart\n"));
    EXPECT_TRUE(LoginItem::entryText(QStringLiteral("/a/100%/z")).contains("\nExec=/a/100%%/z --autostart\n"));
    EXPECT_TRUE(LoginItem::entryText(QStringLiteral("/a b/$z")).contains("\nExec=\"/a b/\\\\$z\" --autostart\n"));
    // A backslash is escaped for the quotes and again for the string: four in the file.
    EXPECT_TRUE(LoginItem::entryText(QStringLiteral("/a\\b/z")).contains("\nExec=\"/a\\\\\\\\b/z\" --autostart\n"));
    EXPECT_TRUE(LoginItem::entryText(QStringLiteral("/a\nb/z")).contains("\nExec=\"/a\\nb/z\" --autostart\n"));
}
