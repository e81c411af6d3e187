// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Appearance.h"
#include "TemporaryLocation.h"
#include "TrayIcon.h"
#include "UiController.h"
#include "WindowGeometry.h"

#include <gtest/gtest.h>

#include <QDBusVariant>
#include <QDir>

namespace {

TEST(ShellRulesTest, WindowFrameSurvivesOnlyWhereAScreenShowsIt)
{
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(WindowGeometry::parse(WindowGeometry::format(QRect(100, 50, 700, 600))), QRect(100, 50, 700, 600));
    EXPECT_EQ(WindowGeometry::restore(QRect(2000, 100, 700, 600), screens), QRect(2000, 100, 700, 600));
    // Smaller than allowed grows to the minimum.
    EXPECT_EQ(WindowGeometry::restore(QRect(100, 100, 300, 200), screens).size(), WindowGeometry::minimumSize);
    // A frame left on a screen that is gone is centred on the first one at the default size.
    const QRect lost = WindowGeometry::restore(QRect(5000, 5000, 700, 600), screens);
    EXPECT_EQ(lost.size(), WindowGeometry::defaultSize);
    EXPECT_EQ(lost.center(), screens.first().center());
    EXPECT_EQ(WindowGeometry::restore(std::nullopt, screens).size(), WindowGeometry::defaultSize);
    for (const char *bad : {"", "1,2,3", "a,b,c,d", "0,0,0,10", "0,0,-5,10"})
        EXPECT_FALSE(WindowGeometry::parse(QString::fromLatin1(bad))) << bad;
}

TEST(ShellRulesTest, InstallWarningOnlyWhereTheProgramCannotWork)
{
    const QString appImageMount = QStringLiteral("/tmp/.mount_ZentroXYZ/usr/bin/zentrope");
    EXPECT_TRUE(TemporaryLocation::warns(appImageMount, {}, true));
    EXPECT_TRUE(TemporaryLocation::warns(QStringLiteral("/run/user/1000/.mount_abc/usr/bin/zentrope"), {}, true));
    EXPECT_TRUE(
        TemporaryLocation::warns(QStringLiteral("/usr/bin/zentrope"), QStringLiteral("/home/u/Z.AppImage"), true));
    // A build under /tmp, a prefix or a user install works as long as its analyzer can be reached.
    EXPECT_FALSE(TemporaryLocation::warns(QStringLiteral("/tmp/build/app/zentrope"), {}, true));
    EXPECT_FALSE(TemporaryLocation::warns(QStringLiteral("/home/u/.local/bin/zentrope"), {}, true));
    EXPECT_TRUE(TemporaryLocation::warns(QStringLiteral("/home/u/.local/bin/zentrope"), {}, false));
}

TEST(ShellRulesTest, PathsInsideHomeShowWithATilde)
{
    const QString home = QDir::homePath();
    EXPECT_EQ(UiController::displayPath(home), QStringLiteral("~"));
    EXPECT_EQ(UiController::displayPath(home + QStringLiteral("/Pictures/Screenshots")),
              QStringLiteral("~/Pictures/Screenshots"));
    EXPECT_EQ(UiController::displayPath(home + QStringLiteral("2/Pictures")), home + QStringLiteral("2/Pictures"));
    EXPECT_EQ(UiController::displayPath(QStringLiteral("/media/usb/Shots")), QStringLiteral("/media/usb/Shots"));
}

TEST(ShellRulesTest, AppearanceFollowsTheChoiceThenTheDesktopThenThePalette)
{
    EXPECT_FALSE(Appearance::resolveDark(AppearanceMode::light, 1u, true));
    EXPECT_TRUE(Appearance::resolveDark(AppearanceMode::dark, 2u, false));
    EXPECT_TRUE(Appearance::resolveDark(AppearanceMode::system, 1u, false));
    EXPECT_FALSE(Appearance::resolveDark(AppearanceMode::system, 2u, true));
    EXPECT_TRUE(Appearance::resolveDark(AppearanceMode::system, 0u, true));
    EXPECT_FALSE(Appearance::resolveDark(AppearanceMode::system, std::nullopt, false));

    // ReadOne answers the value in one variant, Read in two.
    EXPECT_EQ(Appearance::colorSchemeFrom(QVariant::fromValue(QDBusVariant(QVariant(1u)))), 1u);
    EXPECT_EQ(Appearance::colorSchemeFrom(QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(2u))))),
              2u);
    EXPECT_EQ(Appearance::colorSchemeFrom(QVariant(QStringLiteral("dark"))), std::nullopt);
}

TEST(ShellRulesTest, TrayIconAndPanelPlacement)
{
    EXPECT_EQ(UiController::trayIconFor(Activity::working(QStringLiteral("/a.png"), 0)),
              QStringLiteral("wand-and-sparkles"));
    EXPECT_EQ(UiController::trayIconFor(Activity::paused()), QStringLiteral("pause-circle"));
    EXPECT_EQ(UiController::trayIconFor(Activity::idle()), QStringLiteral("camera-viewfinder"));

    const QRect screen(0, 0, 1920, 1080);
    const QSize panel(330, 400);
    // A top bar: under the icon, kept inside the screen's right edge.
    const QRect topIcon(1900, 0, 20, 24);
    const QPoint top = TrayIcon::panelPosition(topIcon, panel, screen);
    EXPECT_EQ(top.y(), topIcon.bottom() + 4);
    EXPECT_EQ(top.x(), screen.right() - 4 - panel.width());
    // A bottom panel: above the icon.
    const QRect bottomIcon(800, 1050, 24, 30);
    const QPoint bottom = TrayIcon::panelPosition(bottomIcon, panel, screen);
    EXPECT_EQ(bottom.y(), bottomIcon.top() - 4 - panel.height());
    EXPECT_EQ(bottom.x(), bottomIcon.center().x() - panel.width() / 2);
}

} // namespace
