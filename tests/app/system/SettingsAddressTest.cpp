// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SettingsAddress.h"

#include <gtest/gtest.h>

TEST(SettingsAddressTest, OnlyCommandsAndWebAddressesParseAndOpeningStopsAtTheFirstThatOpens)
{
    EXPECT_EQ(SettingsAddress::parse(u"exec:systemsettings kcm_notifications"_qs).value_or(SettingsAddress()).command,
              (QStringList{"systemsettings", "kcm_notifications"}));
    EXPECT_EQ(SettingsAddress::parse(u"https://ollama.com/download"_qs).value_or(SettingsAddress()).url.host(),
              u"ollama.com"_qs);
    for (const char *bad : {"exec:", "exec:   ", "https://", "not an address", "file:///etc/passwd", "https://a b"})
        EXPECT_FALSE(SettingsAddress::parse(QString::fromLatin1(bad))) << bad;
    for (const QStringList &list : {SettingsAddress::notificationSettings(), SettingsAddress::modelServerSettings(),
                                    SettingsAddress::visionModels(), SettingsAddress::autostartSettings()}) {
        for (const QString &address : list)
            EXPECT_TRUE(SettingsAddress::parse(address)) << address.toStdString();
    }

    QStringList tried;
    bool pagesOpen = true;
    SettingsAddress::Opener opener;
    opener.run = [&tried](const QStringList &command) {
        tried << command.first();
        return command.first() == u"systemsettings";
    };
    opener.openUrl = [&](const QUrl &url) {
        tried << url.toString();
        return pagesOpen;
    };
    EXPECT_TRUE(SettingsAddress::open({"exec:", "exec:gnome-control-center notifications",
                                       "exec:systemsettings kcm_notifications", "https://ollama.com/download"},
                                      opener));
    EXPECT_EQ(tried, (QStringList{"gnome-control-center", "systemsettings"}));
    tried.clear();
    pagesOpen = false;
    EXPECT_FALSE(SettingsAddress::open({"https://a.example/", "nonsense"}, opener));
    EXPECT_EQ(tried, QStringList{"https://a.example/"});
}
