// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "LoginItem.h"

#include "TempDir.h"

#include <gtest/gtest.h>

// Switching on and off through the settings window is a journey; here the entries and failures it does not meet.
TEST(LoginItemTest, AHiddenEntryCountsAsOffExecIsQuotedAndAFailedWriteSaysWhy)
{
    TempDir config;
    const LoginItem item(config.path(), u"/opt/My Apps/zentrope"_qs);
    config.write(u"autostart/org.zentrope.Zentrope.desktop"_qs,
                 "[Desktop Entry]\nType=Application\nExec=zentrope\nHidden=true\n");
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.set(true), std::nullopt);
    EXPECT_TRUE(item.isEnabled());
    EXPECT_EQ(item.set(false), std::nullopt);
    EXPECT_EQ(item.set(false), std::nullopt);
    EXPECT_FALSE(item.isEnabled());

    const auto quotes = [](const char *program, const char *exec) {
        EXPECT_TRUE(
            LoginItem::entryText(QString::fromUtf8(program)).contains("\nExec=" + QByteArray(exec) + " --autostart\n"))
            << program;
    };
    quotes("/a/100%/z", "/a/100%%/z");
    quotes("/a b/$z", "\"/a b/\\\\$z\"");
    // A backslash is escaped for the quotes and again for the string: four in the file.
    quotes("/a\\b/z", "\"/a\\\\\\\\b/z\"");
    quotes("/a\nb/z", "\"/a\\nb/z\"");

    // A file where the autostart folder should be makes the folder impossible to create.
    config.write(u"blocked/autostart"_qs, "not a folder");
    const LoginItem blocked(config.filePath(u"blocked"_qs), u"/usr/bin/zentrope"_qs);
    EXPECT_FALSE(blocked.set(true).value_or(QString()).isEmpty());
    EXPECT_FALSE(blocked.isEnabled());
}
