// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "LoginItem.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

TEST(LoginItemTest, SwitchingOnWritesTheAutostartEntryAndOffRemovesIt)
{
    TempDir config;
    const LoginItem item(config.path(), QStringLiteral("/opt/My Apps/zentrope"));
    EXPECT_EQ(item.entryPath(), config.path() + QStringLiteral("/autostart/org.zentrope.Zentrope.desktop"));
    EXPECT_FALSE(item.isEnabled());

    EXPECT_EQ(item.set(true), std::nullopt);
    EXPECT_TRUE(item.isEnabled());
    QFile file(item.entryPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/opt/My Apps/zentrope\" --autostart\n")) << text.constData();

    EXPECT_EQ(item.set(false), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(item.entryPath()));
    EXPECT_EQ(item.set(false), std::nullopt);

    // An entry the desktop hid counts as off and is rewritten.
    config.write(QStringLiteral("autostart/org.zentrope.Zentrope.desktop"),
                 "[Desktop Entry]\nType=Application\nExec=zentrope\nHidden=true\n");
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.set(true), std::nullopt);
    EXPECT_TRUE(item.isEnabled());
}

TEST(LoginItemTest, AFailedWriteIsReportedWithText)
{
    TempDir config;
    // A file where the autostart folder should be makes the folder impossible to create.
    config.write(QStringLiteral("autostart"), "not a folder");
    const LoginItem item(config.path(), QStringLiteral("/usr/bin/zentrope"));
    const auto error = item.set(true);
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->isEmpty());
    EXPECT_FALSE(item.isEnabled());
}

TEST(LoginItemTest, ExecQuotingFollowsTheDesktopEntryRules)
{
    EXPECT_TRUE(
        LoginItem::entryText(QStringLiteral("/usr/bin/zentrope")).contains("\nExec=/usr/bin/zentrope --autostart\n"));
    EXPECT_TRUE(LoginItem::entryText(QStringLiteral("/a/100%/z")).contains("\nExec=/a/100%%/z --autostart\n"));
    EXPECT_TRUE(LoginItem::entryText(QStringLiteral("/a b/$z")).contains("\nExec=\"/a b/\\\\$z\" --autostart\n"));
    // A backslash is escaped for the quotes and again for the string: four in the file.
    EXPECT_TRUE(LoginItem::entryText(QStringLiteral("/a\\b/z")).contains("\nExec=\"/a\\\\\\\\b/z\" --autostart\n"));
    EXPECT_TRUE(LoginItem::entryText(QStringLiteral("/a\nb/z")).contains("\nExec=\"/a\\nb/z\" --autostart\n"));
}
