// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SettingsAddress.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsAddressTest, ParsesCommandsAndWebAddressesOnly)
{
    const auto command = SettingsAddress::parse(QStringLiteral("exec:systemsettings kcm_notifications"));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->command, (QStringList{"systemsettings", "kcm_notifications"}));

    const auto page = SettingsAddress::parse(QStringLiteral("https://ollama.com/download"));
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->command.isEmpty());
    EXPECT_EQ(page->url.host(), QStringLiteral("ollama.com"));

    for (const char *bad : {"exec:", "exec:   ", "https://", "not an address", "file:///etc/passwd", "https://a b"})
        EXPECT_FALSE(SettingsAddress::parse(QString::fromLatin1(bad))) << bad;
}

TEST(SettingsAddressTest, OpenSkipsBadAddressesAndStopsAtTheFirstThatOpens)
{
    QStringList tried;
    SettingsAddress::Opener opener;
    opener.run = [&tried](const QStringList &command) {
        tried << command.first();
        return command.first() == u"systemsettings";
    };
    opener.openUrl = [&tried](const QUrl &url) {
        tried << url.toString();
        return true;
    };
    EXPECT_TRUE(SettingsAddress::open({"exec:", "exec:gnome-control-center notifications",
                                       "exec:systemsettings kcm_notifications", "https://ollama.com/download"},
                                      opener));
    EXPECT_EQ(tried, (QStringList{"gnome-control-center", "systemsettings"}));

    tried.clear();
    opener.openUrl = [&tried](const QUrl &url) {
        tried << url.toString();
        return false;
    };
    EXPECT_FALSE(SettingsAddress::open({"https://a.example/", "nonsense"}, opener));
    EXPECT_EQ(tried, QStringList{"https://a.example/"});
}

TEST(SettingsAddressTest, EveryShippedAddressParses)
{
    for (const QStringList &list : {SettingsAddress::notificationSettings(), SettingsAddress::modelServerSettings(),
                                    SettingsAddress::visionModels(), SettingsAddress::autostartSettings()}) {
        for (const QString &address : list)
            EXPECT_TRUE(SettingsAddress::parse(address)) << address.toStdString();
    }
}

} // namespace
