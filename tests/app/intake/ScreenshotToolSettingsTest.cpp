// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenshotToolSettings.h"

#include "ScreenshotDetector.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

// A home folder with no settings at all, and an environment that names only what a test sets.
struct Home
{
    TempDir dir;
    QProcessEnvironment environment;

    ScreenshotToolSettings settings() const { return ScreenshotToolSettings(dir.path(), environment); }
    QString path(const QString &relative) const { return dir.filePath(relative); }
};

TEST(ScreenshotToolSettingsTest, folderFallsBackThroughPicturesAndThePrefixComesFromFileNameTemplates)
{
    Home home;
    EXPECT_EQ(home.settings().screenshotFolder(), home.path(QStringLiteral("Pictures")));
    EXPECT_EQ(home.settings().customPrefix(), std::nullopt);

    home.dir.write(QStringLiteral(".config/user-dirs.dirs"),
                   "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(home.settings().picturesFolder(), home.path(QStringLiteral("Bilder")));
    EXPECT_EQ(ScreenshotDetector::systemScreenshotFolder(home.settings()), home.path(QStringLiteral("Bilder")));

    // GNOME's translated screenshot folder counts once it exists.
    home.dir.mkdir(QStringLiteral("Bilder/Bildschirmfotos"));
    EXPECT_EQ(home.settings().screenshotFolder(), home.path(QStringLiteral("Bilder/Bildschirmfotos")));

    // A Pictures folder set to the home folder means none.
    home.dir.write(QStringLiteral(".config/user-dirs.dirs"), "XDG_PICTURES_DIR=\"$HOME/\"\n");
    EXPECT_EQ(home.settings().picturesFolder(), home.path(QStringLiteral("Pictures")));

    home.dir.write(QStringLiteral(".config/flameshot/flameshot.ini"), "[General]\nfilenamePattern=Shot %F %H.%M.%S\n");
    EXPECT_EQ(home.settings().customPrefix(), QStringLiteral("Shot"));
    home.dir.write(QStringLiteral(".config/spectaclerc"),
                   "[ImageSave]\nimageFilenameTemplate=\tMy Capture <yyyy>-<MM>-<dd> at <hh>.<mm>.<ss>\n");
    EXPECT_EQ(home.settings().customPrefix(), QStringLiteral("My Capture"));
}

TEST(ScreenshotToolSettingsTest, toolSettingsComeFirstInOrder)
{
    Home home;
    home.environment.insert(QStringLiteral("XDG_SCREENSHOTS_DIR"), home.path(QStringLiteral("grimshot")));
    EXPECT_EQ(home.settings().screenshotFolder(), home.path(QStringLiteral("grimshot")));

    home.dir.write(QStringLiteral(".config/xfce4/xfce4-screenshooter"),
                   "app=ristretto\nscreenshot_dir=file://" + home.path(QStringLiteral("Xfce Shots")).toUtf8() + "\n");
    EXPECT_EQ(home.settings().screenshotFolder(), home.path(QStringLiteral("Xfce Shots")));

    home.dir.write(QStringLiteral(".config/flameshot/flameshot.ini"), "[General]\nsavePath=~/Flameshot/./out//\n");
    EXPECT_EQ(home.settings().screenshotFolder(), home.path(QStringLiteral("Flameshot/out")));

    home.dir.write(QStringLiteral(".config/spectaclerc"), "[General]\nimageSaveLocation=file:///ignored\n"
                                                          "[ImageSave]\nimageSaveLocation=file://" +
                                                              home.path(QStringLiteral("Spectacle%20Shots/")).toUtf8() +
                                                              "\n");
    EXPECT_EQ(home.settings().screenshotFolder(), home.path(QStringLiteral("Spectacle Shots")));
}

TEST(ScreenshotToolSettingsTest, unusableValuesAreSkippedAndConfigHomeIsHonoured)
{
    Home home;
    home.dir.write(QStringLiteral(".config/spectaclerc"), "[ImageSave]\nimageSaveLocation=\n");
    home.dir.write(QStringLiteral(".config/flameshot/flameshot.ini"), "[General]\nsavePath=relative/path\n");
    home.environment.insert(QStringLiteral("XDG_SCREENSHOTS_DIR"), QStringLiteral("$HOME/Shots"));
    EXPECT_EQ(home.settings().screenshotFolder(), home.path(QStringLiteral("Shots")));

    TempDir config;
    config.write(QStringLiteral("flameshot/flameshot.ini"), "[General]\nsavePath=/srv/shots\n");
    home.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    EXPECT_EQ(home.settings().screenshotFolder(), QStringLiteral("/srv/shots"));
}

} // namespace
