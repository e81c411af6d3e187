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

TEST_F(AppModelActionsTest, processingExistingFilesAsksFirstAndSummarisesTheBatchOnce)
{
    makeModel();
    ScriptedAlerts alerts;
    m_model->setAlertPresenter(&alerts);
    const QUuid id = watch(m_work.path());
    runTask(m_model->confirmAndProcessExisting());
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.shown.first().informativeText,
              L("existing.none.text", QStringLiteral("«%1»").arg(QFileInfo(m_work.path()).fileName())));

    for (int minute = 1; minute <= 3; ++minute)
        screenshot(QStringLiteral("Screenshot From 2026-11-12 10-0%1-00.png").arg(minute));
    m_analyzer->answers = {ScriptedAnalyzer::titled(QStringLiteral("Mail inbox")),
                           AnalyzeResponse::failure(AnalyzeResponse::ErrorCode::unreadable, QStringLiteral("Bad")),
                           ScriptedAnalyzer::titled(QStringLiteral("Build log"))};
    alerts.answer = 1; // cancel
    runTask(m_model->confirmAndProcessExisting(id));
    ASSERT_EQ(alerts.shown.size(), 2);
    EXPECT_EQ(alerts.shown.last().message, L("existing.confirm.title", LPlural("count.screenshots", 3)));
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
    EXPECT_EQ(m_model->pendingScreenshots(m_settings->folders().first()).size(), 1);
}

TEST_F(AppModelActionsTest, cancellingTheQueueFinishesTheFileInWorkAndSummarisesWhatWasSettled)
{
    m_timing.retryInterval = 50ms;
    makeModel();
    m_analyzer->hold = true;
    const QStringList files{screenshot(u"a.png"_qs), screenshot(u"b.png"_qs), screenshot(u"c.png"_qs)};
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
    EXPECT_EQ(m_model->renameFiles({files.at(1)}).size(), 1);
}

TEST_F(AppModelActionsTest, aBatchCountsOnlyTheFilesItAcceptedAndTheOthersAreNotifiedAlone)
{
    makeModel();
    m_analyzer->hold = true;
    const QString single = screenshot(u"a.png"_qs);
    m_model->renameFiles({single});
    QSignalSpy started(m_analyzer, &ScriptedAnalyzer::analysisStarted);
    ASSERT_TRUE(started.wait(2000));
    // The file in work is not accepted again.
    EXPECT_EQ(m_model->renameFiles({single, screenshot(u"b.png"_qs), screenshot(u"c.png"_qs)}).size(), 2);
    QList<AppModel::Batch> progress{m_model->batch().value_or(AppModel::Batch{})};
    QObject::connect(m_model.get(), &AppModel::batchChanged, m_model.get(), [&] {
        if (m_model->batch())
            progress.append(*m_model->batch());
    });
    m_analyzer->hold = false;
    m_analyzer->release();
    ASSERT_TRUE(waitForReports(3));
    EXPECT_EQ(progress, (QList<AppModel::Batch>{{0, 2, 0}, {1, 2, 1}, {2, 2, 2}}));
    EXPECT_EQ(m_server->bodies(L("notif.batch.title")), QStringList{L("notif.batch.body", 2, 2)});
    EXPECT_EQ(m_server->bodies(L("notif.renamed.title")).size(), 1);
}

// Renaming in a writable folder asks nothing (a journey shows it); here a declined grant.
TEST_F(AppModelActionsTest, aFolderThatCannotBeWrittenNeedsAGrantAndADeclinedOneLeavesItsFilesAlone)
{
    makeModel();
    ScriptedFolderAccess access;
    m_model->setFolderAccess(&access);
    const QString locked = m_work.mkdir(QStringLiteral("locked"));
    const QString file = m_work.write(QStringLiteral("locked/b.png"), QByteArray("png"));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(locked).isWritable())
        GTEST_SKIP() << "this user may write everywhere";
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
    const auto record = [&] { return m_history->records().first(); };

    // Someone took the original name meanwhile: the restorer numbers it and the record says where it went.
    m_work.write(QFileInfo(file).fileName(), "other");
    m_model->undo(record());
    const RenameRecord undone = record();
    EXPECT_EQ(undone.state, RenameRecord::State::undone);
    EXPECT_NE(undone.currentName, QFileInfo(file).fileName());
    EXPECT_TRUE(QFileInfo::exists(undone.filePath()));
    m_model->undo(undone);
    EXPECT_EQ(record(), undone);

    EXPECT_EQ(m_model->rename(undone, QStringLiteral("   \n ")), L("error.invalidName"));
    EXPECT_EQ(record(), undone);
    EXPECT_EQ(m_model->rename(undone, QStringLiteral("  Quarterly numbers \n")), std::nullopt);
    const RenameRecord manual = record();
    EXPECT_EQ(manual.currentName, QStringLiteral("Quarterly numbers.png"));
    EXPECT_EQ(manual.engine, NamingEngineKind::manual);
    EXPECT_EQ(manual.state, RenameRecord::State::renamed);
    EXPECT_TRUE(QFileInfo::exists(manual.filePath()));

    // Undoing a file that is gone reports the error and keeps the record.
    ASSERT_TRUE(QFile::remove(manual.filePath()));
    m_model->undo(manual);
    EXPECT_EQ(record(), manual);
    ASSERT_TRUE(m_model->lastError());
    EXPECT_EQ(waitForErrors(1).value(0), manual.currentName + QLatin1Char('\n') + *m_model->lastError());
}
