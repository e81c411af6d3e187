// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PipelineFixture.h"

#include "CoroTest.h"
#include "L10n.h"
#include "NativePath.h"
#include "RenameCommand.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    runTask(m_model->confirmAndProcessExisting(id));
    EXPECT_EQ(alerts.shown.last().message, L("existing.confirm.title", LPlural("count.screenshots", 3)));
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

class RenameCommandTest : public PipelineFixture
{
protected:
    // Started; the returned task finishes the run.
    QCoro::Task<int> start(QStringList arguments)
    {
        QString message;
        int exitCode = -1;
        arguments.prepend(QStringLiteral("rename"));
        const std::optional<RenameCommand::Options> options = RenameCommand::parse(arguments, &message, &exitCode);
        EXPECT_TRUE(options) << message.toStdString();
        for (QBuffer *buffer : {&m_out, &m_err}) {
            buffer->close();
            buffer->setData({});
            buffer->open(QIODevice::WriteOnly);
        }
        m_command = std::make_unique<RenameCommand>(*m_model, m_out, m_err, false);
        return m_command->run(options.value_or(RenameCommand::Options{}));
    }
    int run(const QStringList &arguments) { return runTask(start(arguments)); }
    QStringList outLines() const { return QString::fromUtf8(m_out.data()).split(u'\n', Qt::SkipEmptyParts); }
    QJsonObject outJson(int line) const { return QJsonDocument::fromJson(outLines().value(line).toUtf8()).object(); }

    QBuffer m_out;
    QBuffer m_err;
    std::unique_ptr<RenameCommand> m_command;
};

TEST_F(RenameCommandTest, aDryRunChangesNothingThenEachFileIsNamedOrReportedWithItsReason)
{
    makeModel();
    const QString first = screenshot(QStringLiteral("a.png"));
    const QString second = screenshot(QStringLiteral("b.jpg"));
    const QString text = m_work.write(QStringLiteral("notes.txt"), "x");
    using Code = AnalyzeResponse::ErrorCode;
    m_analyzer->answers = {ScriptedAnalyzer::titled(QStringLiteral("Mail inbox")),
                           AnalyzeResponse::failure(Code::aiUnavailable, QStringLiteral("No model"))};
    EXPECT_EQ(run({QStringLiteral("--dry-run"), first}), RenameCommand::success);
    EXPECT_EQ(outLines(), QStringList{QStringLiteral("a.png → Mail inbox.png")});
    EXPECT_EQ(run({QStringLiteral("--dry-run"), QStringLiteral("--json"), first}), RenameCommand::notAllNamed);
    EXPECT_EQ(outJson(0).value(QStringLiteral("error")).toString(), QStringLiteral("No model"));
    EXPECT_TRUE(outJson(0).value(QStringLiteral("dryRun")).toBool());
    EXPECT_TRUE(QFileInfo::exists(first));
    EXPECT_TRUE(m_history->records().isEmpty());

    m_analyzer->answers = {ScriptedAnalyzer::titled(QStringLiteral("Mail inbox")),
                           AnalyzeResponse::failure(Code::nothingRecognized, QStringLiteral("No text found"))};
    EXPECT_EQ(run({first, second, first, text, m_work.filePath(QStringLiteral("missing.png"))}),
              RenameCommand::notAllNamed);
    EXPECT_EQ(outLines(), QStringList{QStringLiteral("a.png → Mail inbox.png")});
    EXPECT_EQ(QString::fromUtf8(m_err.data()),
              QStringLiteral("notes.txt: Not an image file\nmissing.png: No such file\nb.jpg: No text found\n"));
    EXPECT_TRUE(QFileInfo::exists(m_work.filePath(QStringLiteral("Mail inbox.png"))));
    EXPECT_EQ(m_analyzer->analyzed.size(), 4);
    EXPECT_EQ(m_history->records().size(), 1);
    // A batch from the command line goes through the manual road: no pending marks are left behind.
    EXPECT_EQ(m_history->pendingCount(), 0);
}

TEST_F(RenameCommandTest, printsOneJsonObjectPerFileAsSoonAsItIsDone)
{
    makeModel();
    const QString first = screenshot(QStringLiteral("a.png"));
    QSignalSpy started(m_analyzer, &ScriptedAnalyzer::analysisStarted);
    m_analyzer->hold = true;
    QCoro::Task<int> running = start({QStringLiteral("--json"), first, screenshot(QStringLiteral("b.png"))});
    ASSERT_TRUE(started.wait(2000));
    EXPECT_TRUE(outLines().isEmpty());
    m_analyzer->release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.size() == 2; }, 2000));
    ASSERT_EQ(outLines().size(), 1);
    EXPECT_EQ(outJson(0), (QJsonObject{{"path", first},
                                       {"name", "a.png"},
                                       {"newName", "Pull request review.png"},
                                       {"newPath", m_work.filePath(QStringLiteral("Pull request review.png"))},
                                       {"engine", "ai"},
                                       {"outcome", "renamed"},
                                       {"dryRun", false}}));
    m_analyzer->release();
    EXPECT_EQ(runTask(std::move(running)), RenameCommand::success);
    EXPECT_EQ(outLines().size(), 2);
    EXPECT_TRUE(m_err.data().isEmpty());
}

TEST_F(RenameCommandTest, aNameThatIsNotUtf8IsRenamedAndUndoneByteForByte)
{
    makeModel();
    const QByteArray name("Screenshot \xff\xfe 1.png");
    const QByteArray native = QFile::encodeName(m_work.path()) + '/' + name;
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "PNG", 3), 3);
    ::close(fd);
    const QString path = NativePath::decode(native);
    EXPECT_EQ(run({path}), RenameCommand::success);
    EXPECT_EQ(m_out.data(), name + " → Pull request review.png\n");
    // Through the history file and back.
    const RenameRecord record = HistoryStore(m_data.path(), m_clock).records().value(0);
    EXPECT_EQ(record.originalName, QFileInfo(path).fileName());
    m_model->undo(record);
    struct stat st
    {
    };
    EXPECT_EQ(::lstat(native.constData(), &st), 0);
    ::unlink(native.constData());
}
