// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"
#include "AppSettings.h"
#include "BusAnalyzer.h"
#include "CoroTest.h"
#include "FolderBookmark.h"
#include "HistoryStore.h"
#include "ModelEnvironment.h"
#include "PrivateBus.h"
#include "RenderedScreen.h"
#include "TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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

// The user's folders of a test run: settings that name no reachable model server and allow the text fallback.
class EndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_store = std::make_shared<KeyValueStore>(m_config.filePath(QStringLiteral("zentrope/settings.json")));
        m_settings = std::make_unique<AppSettings>(m_store);
        m_settings->setModelEndpoint(noModelServer);
        m_settings->setOcrFallback(true);
        m_settings->setInterfaceLanguage(InterfaceLanguage::en);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data.path());
        environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
        // The analyzer outlives the bus until it is idle, holding the test's output open meanwhile.
        environment.insert(QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"), QStringLiteral("1000"));
        m_environment = environment;
        m_bus = std::make_unique<PrivateBus>(PrivateBus::defaultConfig(), environment);
        ASSERT_TRUE(m_bus->isRunning());
    }

    TempDir m_config;
    TempDir m_data;
    TempDir m_folder;
    std::shared_ptr<KeyValueStore> m_store;
    std::unique_ptr<AppSettings> m_settings;
    QProcessEnvironment m_environment;
    std::unique_ptr<PrivateBus> m_bus;
};

} // namespace

TEST_F(EndToEndTest, aNewScreenshotInAWatchedFolderIsRenamedToItsHeading)
{
    HistoryStore history(m_data.filePath(QStringLiteral("zentrope")));
    m_settings->setFolders(
        {WatchedFolder{QUuid::createUuid(), m_folder.path(), *FolderBookmark::create(m_folder.path()), true}});

    AppModelServices services;
    services.analyzer = std::make_unique<BusAnalyzer>(m_bus->connect());
    ModelEnvironment modelEnvironment = ModelEnvironment::system();
    modelEnvironment.store = m_store.get();
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

TEST_F(EndToEndTest, theCommandLineNamesFilesAndItsDryRunChangesNothing)
{
    const QString file = m_folder.filePath(QStringLiteral("capture.png"));
    ASSERT_TRUE(renderedScreen().save(file, "PNG"));
    QProcessEnvironment environment = m_environment;
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus->address());
    const auto zentrope = [&](const QStringList &arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZENTROPE_BINARY_DIR "/app/zentrope"), arguments);
        EXPECT_TRUE(process.waitForFinished(240000));
        return std::make_pair(process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()));
    };

    const auto [dryCode, dryOut] = zentrope({QStringLiteral("rename"), QStringLiteral("--dry-run"), file});
    EXPECT_EQ(dryCode, 0);
    EXPECT_EQ(dryOut, QStringLiteral("capture.png → Quarterly budget review.png\n"));
    EXPECT_TRUE(QFileInfo::exists(file));

    const auto [code, out] = zentrope(
        {QStringLiteral("rename"), QStringLiteral("--json"), file, m_folder.filePath(QStringLiteral("missing.png"))});
    EXPECT_EQ(code, 1);
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << out.toStdString();
    const QJsonObject missing = QJsonDocument::fromJson(lines.at(0).toUtf8()).object();
    EXPECT_EQ(missing.value(QStringLiteral("name")).toString(), QStringLiteral("missing.png"));
    EXPECT_FALSE(missing.value(QStringLiteral("error")).toString().isEmpty());
    const QJsonObject renamed = QJsonDocument::fromJson(lines.at(1).toUtf8()).object();
    EXPECT_EQ(renamed.value(QStringLiteral("outcome")).toString(), QStringLiteral("renamed"));
    EXPECT_EQ(renamed.value(QStringLiteral("newName")).toString(), QStringLiteral("Quarterly budget review.png"));
    EXPECT_EQ(renamed.value(QStringLiteral("engine")).toString(), QStringLiteral("ocr"));
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(QFileInfo::exists(m_folder.filePath(QStringLiteral("Quarterly budget review.png"))));

    // The rename is in the user's history.
    HistoryStore history(m_data.filePath(QStringLiteral("zentrope")));
    ASSERT_EQ(history.records().size(), 1);
    EXPECT_EQ(history.records().first().engine, NamingEngineKind::ocr);
}
