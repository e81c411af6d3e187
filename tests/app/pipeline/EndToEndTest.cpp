// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"
#include "AppSettings.h"
#include "CoroTest.h"
#include "HistoryStore.h"
#include "ProfileApplication.h"
#include "RenderedScreen.h"
#include "TestProfile.h"

#include <QFileInfo>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

// No model server listens at the profile's address: the name comes from the recognised text.
TEST(EndToEndTest, aNewScreenshotInAWatchedFolderIsRenamedToItsHeading)
{
    TestProfile profile{QStringLiteral("http://127.0.0.1:9")};
    ASSERT_TRUE(profile.bus().isRunning());
    AppSettings settings(profile.settingsStore());
    settings.setOcrFallback(true);
    TempDir folder;
    HistoryStore history(profile.historyDirectory());
    settings.setFolders({watchedFolder(folder.path())});

    AppModelServices services = profileServices(profile);
    services.bookmarkOptions.home = folder.path();
    AppModel model(settings, history, std::move(services));
    QList<AppModel::JobReport> reports;
    QObject::connect(&model, &AppModel::jobSettled, &model,
                     [&](const AppModel::JobReport &report) { reports.append(report); });
    runTask(model.start());
    ASSERT_TRUE(model.isWatching());
    EXPECT_FALSE(model.aiAvailable());

    // Written in place, as screenshot tools do: the watcher sees it appear and grow.
    const QString shot = folder.filePath(
        QStringLiteral("Screenshot From %1.png").arg(QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH-mm-ss")));
    ASSERT_TRUE(renderedScreen(QStringLiteral("Quarterly budget review"),
                               {QStringLiteral("Revenue and costs by region for the third quarter"),
                                QStringLiteral("Prepared for the finance committee")})
                    .save(shot, "PNG"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reports.isEmpty() && !model.isWorking(); }, 240000));

    ASSERT_EQ(reports.size(), 1);
    const AppModel::JobReport &report = reports.first();
    EXPECT_EQ(report.job.origin, JobOrigin::event);
    ASSERT_EQ(report.outcome, AppModel::Outcome::renamed) << report.error.toStdString();
    EXPECT_EQ(QFileInfo(report.newPath).fileName(), QStringLiteral("Quarterly budget review.png"));
    EXPECT_EQ(report.engine, NamingEngineKind::ocr);
    EXPECT_TRUE(QFileInfo::exists(report.newPath));
    EXPECT_FALSE(QFileInfo::exists(shot));
    ASSERT_EQ(history.records().size(), 1);
    EXPECT_EQ(history.records().first().originalName, QFileInfo(shot).fileName());
    EXPECT_EQ(history.records().first().currentName, QStringLiteral("Quarterly budget review.png"));
    EXPECT_EQ(history.pendingCount(), 0);
    EXPECT_TRUE(history.isHandled(*FileID::fromPath(report.newPath)));
    model.shutdown();
}
