// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Appearance.h"
#include "CrashReport.h"
#include "TempDir.h"
#include "TemporaryLocation.h"
#include "ThumbnailCache.h"
#include "TrayIcon.h"
#include "UiController.h"
#include "WindowGeometry.h"
#include "WindowRouter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDBusVariant>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSignalSpy>

#include <csignal>

namespace {

TEST(ShellRulesTest, WindowFrameSurvivesOnlyWhereAScreenShowsIt)
{
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(WindowGeometry::parse(WindowGeometry::format(QRect(100, 50, 700, 600))), QRect(100, 50, 700, 600));
    EXPECT_EQ(WindowGeometry::restore(QRect(2000, 100, 700, 600), screens), QRect(2000, 100, 700, 600));
    EXPECT_EQ(WindowGeometry::restore(QRect(100, 100, 300, 200), screens).size(), WindowGeometry::minimumSize);
    // A frame left on a screen that is gone is centred on the first one at the default size.
    const QRect lost = WindowGeometry::restore(QRect(5000, 5000, 700, 600), screens);
    EXPECT_EQ(lost.size(), WindowGeometry::defaultSize);
    EXPECT_EQ(lost.center(), screens.first().center());
    EXPECT_EQ(WindowGeometry::restore(std::nullopt, screens).size(), WindowGeometry::defaultSize);
    for (const char *bad : {"", "1,2,3", "a,b,c,d", "0,0,0,10", "0,0,-5,10"})
        EXPECT_FALSE(WindowGeometry::parse(QString::fromLatin1(bad))) << bad;
}

TEST(ShellRulesTest, InstallWarningHomePathsAppearanceAndPanelPlacement)
{
    // Warned only where the program cannot work: a mounted image, or an analyzer out of reach.
    EXPECT_TRUE(TemporaryLocation::warns(u"/tmp/.mount_ZentroXYZ/usr/bin/zentrope"_qs, {}, true));
    EXPECT_TRUE(TemporaryLocation::warns(u"/usr/bin/zentrope"_qs, u"/home/u/Z.AppImage"_qs, true));
    EXPECT_FALSE(TemporaryLocation::warns(u"/tmp/build/app/zentrope"_qs, {}, true));
    EXPECT_FALSE(TemporaryLocation::warns(u"/home/u/.local/bin/zentrope"_qs, {}, true));
    EXPECT_TRUE(TemporaryLocation::warns(u"/home/u/.local/bin/zentrope"_qs, {}, false));

    const QString home = QDir::homePath();
    EXPECT_EQ(UiController::displayPath(home), u"~"_qs);
    EXPECT_EQ(UiController::displayPath(home + u"/Pictures/Screenshots"_qs), u"~/Pictures/Screenshots"_qs);
    EXPECT_EQ(UiController::displayPath(home + u"2/Pictures"_qs), home + u"2/Pictures"_qs);

    // The user's choice, then the desktop's (1 dark, 2 light), then the palette.
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
    EXPECT_EQ(Appearance::colorSchemeFrom(QVariant(u"dark"_qs)), std::nullopt);

    // Under an icon in a top bar, kept inside the screen; above one in a bottom panel.
    const QRect screen(0, 0, 1920, 1080);
    const QSize panel(330, 400);
    EXPECT_EQ(TrayIcon::panelPosition(QRect(1900, 0, 20, 24), panel, screen), QPoint(1919 - 4 - 330, 23 + 4));
    const QRect bottomIcon(800, 1050, 24, 30);
    EXPECT_EQ(TrayIcon::panelPosition(bottomIcon, panel, screen),
              QPoint(bottomIcon.center().x() - 165, 1050 - 4 - 400));
}

TEST(ShellRulesTest, OnboardingShowsUntilDoneAndTabsChangeOnce)
{
    using Tab = WindowRouter::Tab;
    WindowRouter router;
    router.route(std::nullopt, std::nullopt, false, false);
    EXPECT_TRUE(router.showsSetup());
    EXPECT_EQ(router.setupStep(), 0);
    WindowRouter done;
    done.route(std::nullopt, std::nullopt, true, false);
    EXPECT_FALSE(done.showsSetup());
    // A rerun starts past the folder step when there are folders.
    router.setSetupStep(5);
    router.route(std::nullopt, true, true, true);
    EXPECT_TRUE(router.showsSetup());
    EXPECT_EQ(router.setupStep(), WindowRouter::intelligenceStep);
    router.route(std::nullopt, true, true, false);
    EXPECT_EQ(router.setupStep(), 0);
    router.setSetupStep(4);
    router.route(Tab::settings, false, false, true);
    EXPECT_FALSE(router.showsSetup());
    EXPECT_EQ(router.setupStep(), 4);

    QSignalSpy tabChanged(&router, &WindowRouter::tabChanged);
    router.route(Tab::settings, std::nullopt, true, true);
    router.setTabIndex(0);
    router.setTabIndex(7);
    EXPECT_EQ(router.tab(), Tab::home);
    EXPECT_EQ(tabChanged.count(), 1);
}

TEST(ShellRulesTest, ThumbnailsAreDecodedScaledAndCachedUpToTheLimit)
{
    ThumbnailCache cache;
    const QImage image(4, 4, QImage::Format_RGB32);
    const auto key = [](int file, int size) { return ThumbnailCache::key(QStringLiteral("/f%1.png").arg(file), size); };
    for (int i = 0; i < ThumbnailCache::limit; ++i)
        cache.insert(key(i, 40), image);
    // Touching the oldest keeps it; the next oldest goes instead, and a replaced entry does not count twice.
    EXPECT_TRUE(cache.image(key(0, 40)));
    cache.insert(key(0, 80), image);
    cache.insert(key(0, 80), image);
    EXPECT_EQ(cache.count(), ThumbnailCache::limit);
    EXPECT_TRUE(cache.image(key(0, 40)));
    EXPECT_FALSE(cache.image(key(1, 40)));

    TempDir dir;
    QImage wide(400, 200, QImage::Format_RGB32);
    wide.fill(Qt::red);
    const QString path = dir.filePath(QStringLiteral("wide.png"));
    ASSERT_TRUE(wide.save(path));
    // The shorter side fits the square; the view crops the rest. Never scaled up.
    EXPECT_EQ(ThumbnailCache::decode(path, 80).size(), QSize(160, 80));
    EXPECT_EQ(ThumbnailCache::decode(path, 1000).size(), QSize(400, 200));
    EXPECT_TRUE(
        ThumbnailCache::decode(dir.write(QStringLiteral("broken.png"), "\x89PNG\r\n\x1a\n garbage"), 80).isNull());
    EXPECT_TRUE(ThumbnailCache::decode(dir.filePath(QStringLiteral("missing.png")), 80).isNull());
}

TEST(ShellRulesTest, AFatalSignalLeavesAReportThatTheNextStartTakesOnce)
{
    // Forked, so the child writes where this test looks (a re-executed child would make its own folder).
    GTEST_FLAG_SET(death_test_style, "fast");
    TempDir state;
    const QString directory = state.filePath(QStringLiteral("zentrope"));
    for (const int signal : {SIGSEGV, SIGABRT}) {
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        // The signal still ends the process as it would have.
        EXPECT_EXIT(
            {
                CrashReport::install(directory);
                CrashReport::noteAction("rename");
                std::raise(signal);
            },
            ::testing::KilledBySignal(signal), "");
        const QString report = CrashReport::takeReport(directory).value_or(QString());
        EXPECT_THAT(report.toStdString(),
                    ::testing::HasSubstr(signal == SIGSEGV ? "signal: SIGSEGV" : "signal: SIGABRT"));
        EXPECT_THAT(report.toStdString(), ::testing::HasSubstr("last action: rename"));
        const QRegularExpressionMatch time = QRegularExpression(QStringLiteral("time: (\\S+ \\S+) UTC")).match(report);
        QDateTime written = QDateTime::fromString(time.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        written.setTimeSpec(Qt::UTC);
        EXPECT_TRUE(written >= before && written <= QDateTime::currentDateTimeUtc().addSecs(1)) << report.toStdString();
        EXPECT_FALSE(CrashReport::takeReport(directory));
        EXPECT_TRUE(QFileInfo::exists(CrashReport::keptReportPath(directory)));
    }
}

} // namespace
