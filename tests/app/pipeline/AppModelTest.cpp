// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PipelineFixture.h"

#include "CoroTest.h"
#include "L10n.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/fsuid.h>
#include <unistd.h>

using namespace std::chrono_literals;
using Outcome = AppModel::Outcome;

namespace {
bool exists(const QString &path)
{
    return QFileInfo::exists(path);
}

// The system's calls, except that every rename meets the given error.
class RefusingRenameCalls final : public RenameCalls
{
public:
    explicit RefusingRenameCalls(int error)
        : m_error(error)
    {}
    int renameNoReplace(const QByteArray &, const QByteArray &) const override { return m_error; }
    int link(const QByteArray &, const QByteArray &) const override { return m_error; }
    int unlink(const QByteArray &path) const override { return system().unlink(path); }
    int rename(const QByteArray &, const QByteArray &) const override { return m_error; }
    int lstat(const QByteArray &path) const override { return system().lstat(path); }

private:
    int m_error;
};

// Takes the permission to read `file` away from this thread. Root may read everything, so meanwhile the thread
// works on files as nobody (a per-thread identity: the watcher's and Qt's threads are not touched).
class ReadDenied
{
public:
    ReadDenied(const QString &folder, const QString &file)
        : m_file(file)
    {
        QFile::setPermissions(folder, QFile::permissions(folder) | QFileDevice::ExeOther);
        QFile::setPermissions(file, QFileDevice::WriteOwner);
        if (::geteuid() == 0) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
    }
    ~ReadDenied()
    {
        if (::geteuid() == 0) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
        QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

private:
    QString m_file;
};
} // namespace

using AppModelTest = PipelineFixture;

TEST_F(AppModelTest, renamesAnEventFileRecordsItAndClearsItsPendingMark)
{
    makeModel();
    const QString file = screenshot();
    ASSERT_TRUE(m_model->enqueue({file, JobOrigin::event}));
    EXPECT_TRUE(m_history->isPending(file));
    EXPECT_EQ(m_analyzer->prewarmed, QStringList{QStringLiteral("en")});
    ASSERT_TRUE(waitForReports(1));

    EXPECT_EQ(lastOutcome(), Outcome::renamed);
    const QString renamed = m_work.filePath(QStringLiteral("Pull request review.png"));
    EXPECT_EQ(m_reports.last().newPath, renamed);
    EXPECT_TRUE(exists(renamed));
    EXPECT_FALSE(exists(file));
    EXPECT_FALSE(m_history->isPending(file));
    ASSERT_EQ(m_history->records().size(), 1);
    const RenameRecord &record = m_history->records().first();
    EXPECT_EQ(record.originalName, QFileInfo(file).fileName());
    EXPECT_EQ(record.currentName, QStringLiteral("Pull request review.png"));
    EXPECT_EQ(record.folderPath, m_work.path());
    EXPECT_TRUE(m_history->isHandled(*FileID::fromPath(renamed)));
    EXPECT_EQ(m_model->activity(), Activity::needsSetup());
    EXPECT_EQ(m_server->bodies(L("notif.renamed.title")).size(), 1);
    // The request carries the settings of the moment.
    ASSERT_EQ(m_analyzer->requests.size(), 1);
    EXPECT_EQ(m_analyzer->requests.first().interfaceCode, QStringLiteral("en"));
    EXPECT_FALSE(m_analyzer->requests.first().ocrFallback);
}

TEST_F(AppModelTest, queuesAFileOnceWhileItIsQueuedOrInWork)
{
    makeModel();
    const QString file = screenshot();
    m_analyzer->hold = true;
    EXPECT_TRUE(m_model->enqueue({file, JobOrigin::event}));
    EXPECT_FALSE(m_model->enqueue({file, JobOrigin::event}));
    EXPECT_FALSE(
        m_model->enqueue({m_work.path() + QStringLiteral("/./") + QFileInfo(file).fileName(), JobOrigin::manual}));
    // Through a linked folder it is the same file, not one renamed by someone else.
    TempDir links;
    ASSERT_TRUE(QFile::link(m_work.path(), links.filePath(QStringLiteral("linked"))));
    EXPECT_FALSE(
        m_model->enqueue({links.filePath(QStringLiteral("linked/")) + QFileInfo(file).fileName(), JobOrigin::catchUp}));
    QSignalSpy started(m_analyzer, &ScriptedAnalyzer::analysisStarted);
    ASSERT_TRUE(started.wait(2000));
    EXPECT_FALSE(m_model->enqueue({file, JobOrigin::catchUp}));
    EXPECT_EQ(m_model->activity(), Activity::working(QFileInfo(file).fileName(), 0));
    m_analyzer->release();
    ASSERT_TRUE(waitForReports(1));
    EXPECT_EQ(lastOutcome(), Outcome::renamed);
    EXPECT_EQ(m_analyzer->analyzed.size(), 1);
}

TEST_F(AppModelTest, aFileTheUserRenamedBeforeItsTurnIsMarkedHandledAndLeftAlone)
{
    m_availabilityAnswer = AIAvailability::notEnabled();
    makeModel();
    const QString file = screenshot();
    ASSERT_TRUE(m_model->enqueue({file, JobOrigin::event}));
    ASSERT_TRUE(waitForReports(1));
    ASSERT_EQ(lastOutcome(), Outcome::deferred);
    ASSERT_TRUE(m_history->isPending(file));

    const QString moved = m_work.filePath(QStringLiteral("my own name.png"));
    ASSERT_TRUE(QFile::rename(file, moved));
    EXPECT_FALSE(m_model->enqueue({moved, JobOrigin::event}));
    EXPECT_TRUE(m_history->isHandled(*FileID::fromPath(moved)));
    EXPECT_FALSE(m_history->isPending(file));
    EXPECT_FALSE(m_history->isPending(moved));
    EXPECT_TRUE(m_analyzer->analyzed.isEmpty());
}

TEST_F(AppModelTest, anIncompleteFileIsTriedThreeTimesThenGivenUpOnce)
{
    m_complete = false;
    m_timing.retryInterval = 30ms;
    makeModel();
    const QString file = screenshot();
    watch(m_work.path());
    ASSERT_TRUE(m_model->enqueue({file, JobOrigin::event}));
    ASSERT_TRUE(waitForReports(1));
    EXPECT_EQ(lastOutcome(), Outcome::retry);
    EXPECT_TRUE(m_history->isPending(file));
    EXPECT_TRUE(m_model->isRetryArmed());

    // The re-try timer takes it up twice more.
    ASSERT_TRUE(waitForReports(3));
    EXPECT_EQ(m_reports.size(), 3);
    EXPECT_EQ(lastOutcome(), Outcome::retry);
    EXPECT_FALSE(m_history->isPending(file));
    EXPECT_TRUE(m_history->hasFailed(*FileID::fromPath(file)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !errorBodies().isEmpty(); }, 1000));
    EXPECT_EQ(errorBodies(), QStringList{QFileInfo(file).fileName() + QLatin1Char('\n') + L("error.gaveUp")});
    EXPECT_TRUE(exists(file));
    // A failed file is not taken up again automatically.
    EXPECT_FALSE(m_model->enqueue({file, JobOrigin::catchUp}));
}

TEST_F(AppModelTest, withoutTheModelAndWithoutFallbackFilesWaitAndOnlyTheFirstIsNotified)
{
    m_availabilityAnswer = AIAvailability::modelNotReady();
    makeModel();
    const QString first = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"));
    const QString second = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-43-00.png"));
    ASSERT_TRUE(m_model->enqueue({first, JobOrigin::event}));
    ASSERT_TRUE(m_model->enqueue({second, JobOrigin::catchUp}));
    // No model and no fallback: no point warming anything.
    EXPECT_TRUE(m_analyzer->prewarmed.isEmpty());
    ASSERT_TRUE(waitForReports(2));
    EXPECT_EQ(m_reports.at(0).outcome, Outcome::deferred);
    EXPECT_EQ(m_reports.at(1).outcome, Outcome::deferred);
    EXPECT_TRUE(m_history->isPending(first));
    EXPECT_TRUE(m_history->isPending(second));
    EXPECT_EQ(m_history->registry().pending.value(first).attempts, 0);
    EXPECT_TRUE(m_analyzer->analyzed.isEmpty());
    EXPECT_EQ(m_model->lastError(), L("error.aiUnavailableKeep"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !errorBodies().isEmpty(); }, 1000));
    EXPECT_EQ(errorBodies().size(), 1);
    EXPECT_TRUE(m_model->isRetryArmed());

    // Files the user chose are counted in their batch without being failed.
    const QString third = screenshot(QStringLiteral("photo.png"));
    const QString fourth = screenshot(QStringLiteral("photo 2.png"));
    EXPECT_EQ(m_model->renameFiles({third, fourth}).size(), 2);
    ASSERT_TRUE(waitForReports(4));
    EXPECT_EQ(m_reports.at(3).outcome, Outcome::deferred);
    EXPECT_FALSE(m_history->hasFailed(*FileID::fromPath(third)));
    EXPECT_EQ(errorBodies().size(), 1);
    EXPECT_EQ(m_server->bodies(L("notif.batch.title")), QStringList{L("notif.batch.body", 0, 2)});
}

TEST_F(AppModelTest, retryableFailuresKeepTheFilePendingAndTheOthersFailIt)
{
    AnalyzeResponse untitled;
    untitled.engine = NamingEngineKind::ocr;
    const AnalyzerFailure timedOut{AnalyzeResponse::ErrorCode::other, QStringLiteral("Timed out"), true};
    const AnalyzerFailure noService{AnalyzeResponse::ErrorCode::other, QStringLiteral("Analyzer unavailable"), false};
    struct Case
    {
        AnalyzeResult answer;
        Outcome outcome;
        QString error;
    };
    const QList<Case> cases{
        {ScriptedAnalyzer::failing(AnalyzeResponse::ErrorCode::busy, QStringLiteral("Busy")), Outcome::retry,
         QStringLiteral("Busy")},
        {ScriptedAnalyzer::failing(AnalyzeResponse::ErrorCode::unreadable, QStringLiteral("Bad")), Outcome::failed,
         QStringLiteral("Bad")},
        {timedOut, Outcome::retry, QStringLiteral("Timed out")},
        {noService, Outcome::failed, QStringLiteral("Analyzer unavailable")},
        {untitled, Outcome::failed, L("error.nothingRecognized")},
        // A title that leaves nothing for a name.
        {ScriptedAnalyzer::titled(QStringLiteral("  \n ")), Outcome::failed, L("error.nothingRecognized")},
    };
    makeModel();
    QStringList files;
    for (int i = 0; i < cases.size(); ++i) {
        files.append(screenshot(QStringLiteral("Screenshot From 2026-11-12 10-4%1-00.png").arg(i)));
        m_analyzer->answers.append(cases.at(i).answer);
        m_model->enqueue({files.last(), JobOrigin::event});
    }
    ASSERT_TRUE(waitForReports(static_cast<int>(cases.size())));
    QStringList expectedErrors;
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const Case &c = cases.at(i);
        EXPECT_EQ(m_reports.at(i).outcome, c.outcome);
        EXPECT_EQ(m_reports.at(i).error, c.error);
        const bool retry = c.outcome == Outcome::retry;
        EXPECT_EQ(m_history->isPending(files.at(i)), retry);
        EXPECT_EQ(m_history->registry().pending.value(files.at(i)).attempts, retry ? 1 : 0);
        EXPECT_EQ(m_history->hasFailed(*FileID::fromPath(files.at(i))), !retry);
        EXPECT_TRUE(exists(files.at(i)));
        // Automatic files are not worth a message until they fail for good.
        if (!retry)
            expectedErrors.append(QFileInfo(files.at(i)).fileName() + QLatin1Char('\n') + c.error);
    }
    EXPECT_EQ(m_model->lastError(), L("error.nothingRecognized"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return errorBodies().size() == expectedErrors.size(); }, 1000));
    EXPECT_EQ(errorBodies(), expectedErrors);
}

// A file that vanishes at the rename is nobody's fault; one that cannot be read, renamed or completed says why.
TEST_F(AppModelTest, fileLevelFailuresFailTheFileAndSayWhyButAVanishedOneIsSkipped)
{
    const struct
    {
        const char *name;
        int renameError;
        JobOrigin origin;
        bool readable;
        bool complete;
        Outcome outcome;
        const char *error; // none: skipped silently
    } cases[] = {
        {"gone at the rename", ENOENT, JobOrigin::event, true, true, Outcome::skipped, nullptr},
        {"rename refused", EACCES, JobOrigin::event, true, true, Outcome::failed, "error.noAccess"},
        {"no permission to read", 0, JobOrigin::event, false, true, Outcome::failed, "error.permissionDenied"},
        {"chosen, never an image", 0, JobOrigin::manual, true, false, Outcome::failed, "error.incompleteImage"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const RefusingRenameCalls calls(c.renameError);
        m_renameCalls = c.renameError ? &calls : nullptr;
        m_complete = c.complete;
        m_reports.clear();
        makeModel();
        const QString file = screenshot();
        {
            std::optional<ReadDenied> denied;
            if (!c.readable)
                denied.emplace(m_work.path(), file);
            ASSERT_TRUE(m_model->enqueue({file, c.origin}));
            ASSERT_TRUE(waitForReports(1));
        }
        EXPECT_EQ(lastOutcome(), c.outcome);
        EXPECT_FALSE(m_history->isPending(file));
        EXPECT_EQ(m_analyzer->analyzed.isEmpty(), c.renameError == 0);
        if (c.origin == JobOrigin::event) {
            EXPECT_EQ(m_history->hasFailed(*FileID::fromPath(file)), c.error != nullptr);
        }
        if (c.error) {
            EXPECT_EQ(m_reports.last().error, L(c.error));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !errorBodies().isEmpty(); }, 1000));
            EXPECT_EQ(errorBodies().last(), QFileInfo(file).fileName() + QLatin1Char('\n') + L(c.error));
        } else {
            QTest::qWait(10);
            EXPECT_TRUE(errorBodies().isEmpty());
        }
        m_model.reset();
        m_history->registry().failed.clear();
        QFile::remove(file);
    }
}

TEST_F(AppModelTest, aRegistryEntryOfAnEarlierFileWithTheSameInodeDoesNotHoldBackANewFile)
{
    makeModel();
    const QString handled = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"));
    const QString failed = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-43-00.png"));
    const FileID handledID = *FileID::fromPath(handled);
    const FileID failedID = *FileID::fromPath(failed);
    // Entries written an hour before these files were born: their inodes belonged to deleted files then.
    const QDateTime earlier = QDateTime::currentDateTime().addSecs(-3600);
    m_history->registry().handled.insert(handledID, earlier);
    m_history->registry().failed.insert(failedID, earlier);
    EXPECT_TRUE(m_model->enqueue({handled, JobOrigin::event}));
    EXPECT_TRUE(m_model->enqueue({failed, JobOrigin::catchUp}));
    ASSERT_TRUE(waitForReports(2));
    EXPECT_EQ(m_reports.at(0).outcome, Outcome::renamed);
    EXPECT_EQ(m_reports.at(1).outcome, Outcome::renamed);

    // Entries written after the files were born are theirs.
    const QString later = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-44-00.png"));
    m_history->registry().handled.insert(*FileID::fromPath(later), m_clock.now());
    EXPECT_FALSE(m_model->enqueue({later, JobOrigin::event}));
}
