// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"
#include "AppSettings.h"
#include "BusAnalyzer.h"
#include "CoroTest.h"
#include "FolderBookmark.h"
#include "HistoryStore.h"
#include "ModelEnvironment.h"
#include "RenderedScreen.h"
#include "TestProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A model server address where nothing listens: the analyzer and the application find no model.
const QString noModelServer = QStringLiteral("http://127.0.0.1:9");

QImage renderedScreen()
{
    return ::renderedScreen(QStringLiteral("Quarterly budget review"),
                            {QStringLiteral("Revenue and costs by region for the third quarter"),
                             QStringLiteral("Prepared for the finance committee")});
}

QString gnomeName()
{
    return QStringLiteral("Screenshot From %1.png")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
}

// A profile whose settings name no reachable model server and allow the text fallback.
class EndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = std::make_unique<AppSettings>(m_profile.settingsStore());
        m_settings->setOcrFallback(true);
        ASSERT_TRUE(m_profile.bus().isRunning());
    }

    TestProfile m_profile{noModelServer};
    TempDir m_folder;
    std::unique_ptr<AppSettings> m_settings;
};

} // namespace

TEST_F(EndToEndTest, aNewScreenshotInAWatchedFolderIsRenamedToItsHeading)
{
    HistoryStore history(m_profile.historyDirectory());
    m_settings->setFolders(
        {WatchedFolder{QUuid::createUuid(), m_folder.path(), *FolderBookmark::create(m_folder.path()), true}});

    AppModelServices services;
    services.analyzer = std::make_unique<BusAnalyzer>(m_profile.bus().connect());
    ModelEnvironment modelEnvironment = ModelEnvironment::system();
    modelEnvironment.store = m_profile.settingsStore().get();
    services.availability = [modelEnvironment] { return AIAvailability::current(modelEnvironment); };
    services.bookmarkOptions.home = m_folder.path();
    services.buildNumber = QStringLiteral("1");
    AppModel model(*m_settings, history, std::move(services));
    QList<AppModel::JobReport> reports;
    QObject::connect(&model, &AppModel::jobSettled, &model,
                     [&](const AppModel::JobReport &report) { reports.append(report); });
    runTask(model.start());
    ASSERT_TRUE(model.isWatching());
    EXPECT_FALSE(model.aiAvailable());

    // Written in place, as screenshot tools do: the watcher sees it appear and grow.
    const QString shot = m_folder.filePath(gnomeName());
    ASSERT_TRUE(renderedScreen().save(shot, "PNG"));
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
    EXPECT_FALSE(history.isPending(shot));
    EXPECT_EQ(history.pendingCount(), 0);
    EXPECT_TRUE(history.isHandled(*FileID::fromPath(report.newPath)));
    model.shutdown();
}
