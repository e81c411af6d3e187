// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PipelineFixture.h"

#include "CoroTest.h"
#include "L10n.h"

#include <QFile>
#include <QFileInfo>

using namespace std::chrono_literals;
using Outcome = AppModel::Outcome;

using AppModelActionsTest = PipelineFixture;

namespace {
QString screenshotName(int minute)
{
    return QStringLiteral("Screenshot From 2026-11-12 10-%1-00.png").arg(minute, 2, 10, QLatin1Char('0'));
}
} // namespace

TEST_F(AppModelActionsTest, processingExistingFilesAsksFirstAndSummarisesTheBatchOnce)
{
    makeModel();
    ScriptedAlerts alerts;
    m_model->setAlertPresenter(&alerts);
    const QUuid id = watch(m_work.path());

    runTask(m_model->confirmAndProcessExisting());
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.shown.first().message, L("existing.none.title"));
    const QString names = QStringLiteral("«%1»").arg(QFileInfo(m_work.path()).fileName());
    EXPECT_EQ(alerts.shown.first().informativeText, L("existing.none.text", names));
    EXPECT_EQ(alerts.shown.first().buttons, QStringList{L("ok")});

    for (int minute = 1; minute <= 3; ++minute)
        screenshot(screenshotName(minute));
    m_analyzer->answers = {ScriptedAnalyzer::titled(QStringLiteral("Mail inbox")),
                           ScriptedAnalyzer::failing(AnalyzeResponse::ErrorCode::unreadable, QStringLiteral("Bad")),
                           ScriptedAnalyzer::titled(QStringLiteral("Build log"))};
    alerts.answer = 1;
    runTask(m_model->confirmAndProcessExisting(id));
    ASSERT_EQ(alerts.shown.size(), 2);
    EXPECT_EQ(alerts.shown.last().message, L("existing.confirm.title", LPlural("count.screenshots", 3)));
    EXPECT_EQ(alerts.shown.last().buttons, (QStringList{L("existing.confirm.button"), L("cancel")}));
    QTest::qWait(20);
    EXPECT_TRUE(m_reports.isEmpty());

    alerts.answer = 0;
    runTask(m_model->confirmAndProcessExisting(id));
    EXPECT_EQ(m_model->batch(), (AppModel::Batch{0, 3, 0}));
    ASSERT_TRUE(waitForReports(3));
    EXPECT_FALSE(m_model->batch());
    EXPECT_EQ(m_reports.at(1).outcome, Outcome::failed);
    // A scan reports neither single renames nor single failures, only the summary.
    EXPECT_EQ(m_server->bodies(L("notif.batch.title")), QStringList{L("notif.batch.body", 2, 3)});
    EXPECT_TRUE(m_server->bodies(L("notif.renamed.title")).isEmpty());
    EXPECT_TRUE(errorBodies().isEmpty());
    // Handled files are not offered again; the failed one is.
    ASSERT_EQ(m_model->pendingScreenshots(m_settings->folders().first()).size(), 1);
}

TEST_F(AppModelActionsTest, cancellingTheQueueFinishesTheFileInWorkAndSummarisesWhatWasSettled)
{
    m_timing.retryInterval = 50ms;
    makeModel();
    m_analyzer->hold = true;
    QStringList files;
    for (const char *name : {"a.png", "b.png", "c.png"})
        files.append(screenshot(QString::fromLatin1(name)));
    const QString automatic = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-43-00.png"));
    watch(m_work.path());
    m_model->renameFiles(files);
    m_model->enqueue({automatic, JobOrigin::event});
    QSignalSpy started(m_analyzer, &ScriptedAnalyzer::analysisStarted);
    ASSERT_TRUE(started.wait(2000));
    m_model->cancelQueue();
    EXPECT_EQ(m_model->queuedCount(), 0);
    m_analyzer->hold = false;
    m_analyzer->release();
    // The automatic file keeps its pending mark and comes back with the re-try timer.
    ASSERT_TRUE(waitForReports(2));
    EXPECT_EQ(m_reports.at(1).job, (Job{automatic, JobOrigin::catchUp}));
    EXPECT_EQ(m_server->bodies(L("notif.batch.title")), QStringList{L("notif.batch.body", 1, 3)});
    // Cancelled files can be chosen again.
    EXPECT_EQ(m_model->renameFiles({files.at(1)}).size(), 1);
}

TEST_F(AppModelActionsTest, aBatchCountsOnlyTheFilesItAcceptedAndTheOthersAreNotifiedAlone)
{
    makeModel();
    m_analyzer->hold = true;
    const QString single = screenshot(QStringLiteral("a.png"));
    m_model->renameFiles({single});
    QSignalSpy started(m_analyzer, &ScriptedAnalyzer::analysisStarted);
    ASSERT_TRUE(started.wait(2000));

    // The file in work is not accepted again; the batch is the other two.
    EXPECT_EQ(
        m_model->renameFiles({single, screenshot(QStringLiteral("b.png")), screenshot(QStringLiteral("c.png"))}).size(),
        2);
    EXPECT_EQ(m_model->batch(), (AppModel::Batch{0, 2, 0}));
    QList<AppModel::Batch> progress;
    QObject::connect(m_model.get(), &AppModel::batchChanged, m_model.get(), [&] {
        if (m_model->batch())
            progress.append(*m_model->batch());
    });
    m_analyzer->hold = false;
    m_analyzer->release();
    ASSERT_TRUE(waitForReports(3));
    EXPECT_EQ(progress, (QList<AppModel::Batch>{{1, 2, 1}, {2, 2, 2}}));
    EXPECT_EQ(m_server->bodies(L("notif.batch.title")), QStringList{L("notif.batch.body", 2, 2)});
    EXPECT_EQ(m_server->bodies(L("notif.renamed.title")).size(), 1);
}

TEST_F(AppModelActionsTest, onlyAFolderThatCannotBeWrittenNeedsAGrant)
{
    makeModel();
    ScriptedFolderAccess access;
    m_model->setFolderAccess(&access);
    // Outside the watched folders, but the user may write there: no question.
    EXPECT_EQ(m_model->renameFiles({screenshot(QStringLiteral("a.png"))}).size(), 1);
    EXPECT_TRUE(access.suggestions.isEmpty());
    ASSERT_TRUE(waitForReports(1));

    const QString locked = m_work.mkdir(QStringLiteral("locked"));
    const QString file = m_work.write(QStringLiteral("locked/b.png"), QByteArray("png"));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(locked).isWritable())
        GTEST_SKIP() << "this user may write everywhere";
    // A declined grant leaves the folder's files alone.
    EXPECT_TRUE(m_model->renameFiles({file}).isEmpty());
    ASSERT_EQ(access.suggestions, QStringList{locked});
    EXPECT_EQ(access.messages.first(), L("panel.parentMessage", QStringLiteral("locked")));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(AppModelActionsTest, undoRestoresTheNameOnceAManualNameMarksTheRecordAndAGoneFileKeepsIt)
{
    makeModel();
    const QString file = screenshot();
    m_model->enqueue({file, JobOrigin::event});
    ASSERT_TRUE(waitForReports(1));
    RenameRecord record = m_history->records().first();

    // Someone took the original name meanwhile: the restorer numbers it and the record says where it went.
    m_work.write(QFileInfo(file).fileName(), "other");
    m_model->undo(record);
    record = m_history->records().first();
    EXPECT_EQ(record.state, RenameRecord::State::undone);
    EXPECT_NE(record.currentName, QFileInfo(file).fileName());
    EXPECT_TRUE(QFileInfo::exists(record.filePath()));

    const RenameRecord undone = record;
    m_model->undo(undone);
    EXPECT_EQ(m_history->records().first(), undone);

    EXPECT_EQ(m_model->rename(record, QStringLiteral("   \n ")), L("error.invalidName"));
    EXPECT_EQ(m_history->records().first(), undone);
    EXPECT_EQ(m_model->rename(record, QStringLiteral("  Quarterly numbers \n")), std::nullopt);
    record = m_history->records().first();
    EXPECT_EQ(record.currentName, QStringLiteral("Quarterly numbers.png"));
    EXPECT_EQ(record.engine, NamingEngineKind::manual);
    EXPECT_EQ(record.state, RenameRecord::State::renamed);
    EXPECT_TRUE(QFileInfo::exists(record.filePath()));

    // Undoing a file that is gone reports the error and keeps the record.
    ASSERT_TRUE(QFile::remove(record.filePath()));
    m_model->undo(record);
    EXPECT_EQ(m_history->records().first(), record);
    ASSERT_TRUE(m_model->lastError());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !errorBodies().isEmpty(); }, 1000));
    EXPECT_EQ(errorBodies().last(), record.currentName + QLatin1Char('\n') + *m_model->lastError());
}
