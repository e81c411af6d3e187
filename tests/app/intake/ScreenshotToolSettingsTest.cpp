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
    QString path(const char *relative) const { return dir.filePath(QString::fromUtf8(relative)); }
    void write(const char *relative, const QByteArray &text) const { dir.write(QString::fromUtf8(relative), text); }
};

TEST(ScreenshotToolSettingsTest, folderFallsBackThroughPicturesAndThePrefixComesFromFileNameTemplates)
{
    Home home;
    EXPECT_EQ(home.settings().screenshotFolder(), home.path("Pictures"));
    EXPECT_EQ(home.settings().customPrefix(), std::nullopt);

    home.write(".config/user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(ScreenshotDetector::systemScreenshotFolder(home.settings()), home.path("Bilder"));
    // GNOME's translated screenshot folder counts once it exists.
    home.dir.mkdir(QStringLiteral("Bilder/Bildschirmfotos"));
    EXPECT_EQ(home.settings().screenshotFolder(), home.path("Bilder/Bildschirmfotos"));
    // A Pictures folder set to the home folder means none.
    home.write(".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/\"\n");
    EXPECT_EQ(home.settings().picturesFolder(), home.path("Pictures"));

    home.write(".config/flameshot/flameshot.ini", "[General]\nfilenamePattern=Shot %F %H.%M.%S\n");
    EXPECT_EQ(home.settings().customPrefix(), QStringLiteral("Shot"));
    home.write(".config/spectaclerc",
               "[ImageSave]\nimageFilenameTemplate=\tMy Capture <yyyy>-<MM>-<dd> at <hh>.<mm>.<ss>\n");
    EXPECT_EQ(home.settings().customPrefix(), QStringLiteral("My Capture"));
}

TEST(ScreenshotToolSettingsTest, toolSettingsComeFirstInOrderAndUnusableValuesAreSkipped)
{
    Home home;
    // Unusable values of the tools that come first.
    home.write(".config/spectaclerc", "[ImageSave]\nimageSaveLocation=\n");
    home.write(".config/flameshot/flameshot.ini", "[General]\nsavePath=relative/path\n");
    home.environment.insert(QStringLiteral("XDG_SCREENSHOTS_DIR"), QStringLiteral("$HOME/Shots"));
    EXPECT_EQ(home.settings().screenshotFolder(), home.path("Shots"));

    home.write(".config/xfce4/xfce4-screenshooter",
               "app=ristretto\nscreenshot_dir=file://" + home.path("Xfce Shots").toUtf8() + "\n");
    EXPECT_EQ(home.settings().screenshotFolder(), home.path("Xfce Shots"));
    home.write(".config/flameshot/flameshot.ini", "[General]\nsavePath=~/Flameshot/./out//\n");
    EXPECT_EQ(home.settings().screenshotFolder(), home.path("Flameshot/out"));
    home.write(".config/spectaclerc",
               "[General]\nimageSaveLocation=file:///ignored\n[ImageSave]\nimageSaveLocation=file://" +
                   home.path("Spectacle%20Shots/").toUtf8() + "\n");
    EXPECT_EQ(home.settings().screenshotFolder(), home.path("Spectacle Shots"));

    TempDir config;
    config.write(QStringLiteral("spectaclerc"), "[ImageSave]\nimageSaveLocation=/srv/shots\n");
    home.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    EXPECT_EQ(home.settings().screenshotFolder(), QStringLiteral("/srv/shots"));
}

} // namespace
