// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerLauncher.h"

#include "AppSettings.h"
#include "KeyValueStore.h"
#include "PrivateBus.h"
#include "RenderedScreen.h"
#include "TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

TEST(AnalyzerLauncherTest, TheCommandLineNamesAFileWhereTheBusCannotActivateTheAnalyzer)
{
    // An install prefix keeps the analyzer in its program folder.
    EXPECT_TRUE(AnalyzerLauncher::candidates(QStringLiteral("/opt/z/bin"))
                    .contains(QStringLiteral("/opt/z/libexec/zentrope-analyzer")));

    TempDir config;
    TempDir data;
    TempDir folder;
    {
        AppSettings settings(
            std::make_shared<KeyValueStore>(config.filePath(QStringLiteral("zentrope/settings.json"))));
        // Nothing answers there: the name comes from the recognised text.
        settings.setModelEndpoint(QStringLiteral("http://127.0.0.1:9"));
        settings.setOcrFallback(true);
        settings.setInterfaceLanguage(InterfaceLanguage::en);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    environment.insert(QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"), QStringLiteral("1000"));
    // A plain session bus, as a desktop's is for a program run from its build: no activation file for the analyzer.
    PrivateBus bus(PrivateBus::configWithoutServices(), environment);
    ASSERT_TRUE(bus.isRunning());
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());

    const QString shot = folder.filePath(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"));
    ASSERT_TRUE(renderedScreen(QStringLiteral("Quarterly budget review"),
                               {QStringLiteral("Revenue and costs by region for the third quarter")})
                    .save(shot, "PNG"));
    QProcess zentrope;
    zentrope.setProcessEnvironment(environment);
    zentrope.setProcessChannelMode(QProcess::MergedChannels);
    zentrope.start(QStringLiteral(ZENTROPE_BINARY_DIR "/app/zentrope"), {QStringLiteral("rename"), shot});
    ASSERT_TRUE(zentrope.waitForFinished(170000));
    EXPECT_EQ(zentrope.exitCode(), 0) << zentrope.readAll().toStdString();
    EXPECT_FALSE(QFileInfo::exists(shot));
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("Quarterly budget review.png"))))
        << QDir(folder.path()).entryList(QDir::Files).join(u", ").toStdString();
}
