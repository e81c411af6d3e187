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

TEST_F(AppModelTest, anEventFileIsQueuedOnceByAnyPathThenRenamedRecordedAndUnmarked)
{
    makeModel();
    const QString file = screenshot();
    const QString name = QFileInfo(file).fileName();
    m_analyzer->hold = true;
    ASSERT_TRUE(m_model->enqueue({file, JobOrigin::event}));
    EXPECT_TRUE(m_history->isPending(file));
    EXPECT_EQ(m_analyzer->prewarmed, QStringList{QStringLiteral("en")});
    EXPECT_FALSE(m_model->enqueue({file, JobOrigin::event}));
    EXPECT_FALSE(m_model->enqueue({m_work.path() + QStringLiteral("/./") + name, JobOrigin::manual}));
    // Through a linked folder it is the same file, not one renamed by someone else.
    TempDir links;
    ASSERT_TRUE(QFile::link(m_work.path(), links.filePath(QStringLiteral("linked"))));
    EXPECT_FALSE(m_model->enqueue({links.filePath(QStringLiteral("linked/")) + name, JobOrigin::catchUp}));
    QSignalSpy started(m_analyzer, &ScriptedAnalyzer::analysisStarted);
    ASSERT_TRUE(started.wait(2000));
    EXPECT_FALSE(m_model->enqueue({file, JobOrigin::catchUp}));
    EXPECT_EQ(m_model->activity(), Activity::working(name, 0));
    m_analyzer->release();
    ASSERT_TRUE(waitForReports(1));

    EXPECT_EQ(lastOutcome(), Outcome::renamed);
    EXPECT_EQ(m_analyzer->analyzed.size(), 1);
    const QString renamed = m_work.filePath(QStringLiteral("Pull request review.png"));
    EXPECT_TRUE(QFileInfo::exists(renamed));
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(m_history->isPending(file));
    ASSERT_EQ(m_history->records().size(), 1);
    EXPECT_EQ(m_history->records().first().originalName, name);
    EXPECT_EQ(m_history->records().first().filePath(), renamed);
    EXPECT_TRUE(m_history->isHandled(*FileID::fromPath(renamed)));
    EXPECT_EQ(m_server->bodies(L("notif.renamed.title")).size(), 1);
    EXPECT_EQ(m_analyzer->requests.value(0).interfaceCode, QStringLiteral("en"));
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
    EXPECT_TRUE(hasFailed(file));
    EXPECT_EQ(waitForErrors(1), QStringList{errorBody(file, L("error.gaveUp"))});
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_FALSE(m_model->enqueue({file, JobOrigin::catchUp}));
}

TEST_F(AppModelTest, withoutTheModelAndWithoutFallbackFilesWaitOnlyTheFirstIsNotifiedAndOneRenamedMeanwhileIsLeftAlone)
{
    m_availabilityAnswer = AIAvailability::modelNotReady();
    makeModel();
    const QString first = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"));
    const QString second = screenshot(QStringLiteral("Screenshot From 2026-11-12 10-43-00.png"));
    ASSERT_TRUE(m_model->enqueue({first, JobOrigin::event}));
    ASSERT_TRUE(m_model->enqueue({second, JobOrigin::catchUp}));
    EXPECT_TRUE(m_analyzer->prewarmed.isEmpty());
    ASSERT_TRUE(waitForReports(2));
    EXPECT_EQ(m_reports.at(0).outcome, Outcome::deferred);
    EXPECT_EQ(m_reports.at(1).outcome, Outcome::deferred);
    EXPECT_TRUE(m_history->isPending(first));
    EXPECT_TRUE(m_history->isPending(second));
    EXPECT_EQ(m_history->registry().pending.value(first).attempts, 0);
    EXPECT_EQ(m_model->lastError(), L("error.aiUnavailableKeep"));
    EXPECT_EQ(waitForErrors(1).size(), 1);
    EXPECT_TRUE(m_model->isRetryArmed());

    // Files the user chose are counted in their batch without being failed.
    const QString third = screenshot(QStringLiteral("photo.png"));
    EXPECT_EQ(m_model->renameFiles({third, screenshot(QStringLiteral("photo 2.png"))}).size(), 2);
    ASSERT_TRUE(waitForReports(4));
    EXPECT_EQ(m_reports.at(3).outcome, Outcome::deferred);
    EXPECT_FALSE(hasFailed(third));
    EXPECT_EQ(errorBodies().size(), 1);
    EXPECT_EQ(m_server->bodies(L("notif.batch.title")), QStringList{L("notif.batch.body", 0, 2)});

    // Renamed by the user while it waited: marked handled and left alone.
    const QString moved = m_work.filePath(QStringLiteral("my own name.png"));
    ASSERT_TRUE(QFile::rename(first, moved));
    EXPECT_FALSE(m_model->enqueue({moved, JobOrigin::event}));
    EXPECT_TRUE(m_history->isHandled(*FileID::fromPath(moved)));
    EXPECT_FALSE(m_history->isPending(first));
    EXPECT_FALSE(m_history->isPending(moved));
    EXPECT_TRUE(m_analyzer->analyzed.isEmpty());
}

TEST_F(AppModelTest, retryableFailuresKeepTheFilePendingAndTheOthersFailIt)
{
    AnalyzeResponse untitled;
    untitled.engine = NamingEngineKind::ocr;
    using Code = AnalyzeResponse::ErrorCode;
    const struct
    {
        AnalyzeResult answer;
        Outcome outcome;
        QString error;
    } cases[] = {
        {AnalyzeResponse::failure(Code::busy, u"Busy"_qs), Outcome::retry, u"Busy"_qs},
        {AnalyzeResponse::failure(Code::unreadable, u"Bad"_qs), Outcome::failed, u"Bad"_qs},
        {AnalyzerFailure{Code::other, u"Timed out"_qs, true}, Outcome::retry, u"Timed out"_qs},
        {AnalyzerFailure{Code::other, u"Analyzer unavailable"_qs, false}, Outcome::failed, u"Analyzer unavailable"_qs},
        {untitled, Outcome::failed, L("error.nothingRecognized")},
        {ScriptedAnalyzer::titled(u"  \n "_qs), Outcome::failed, L("error.nothingRecognized")},
    };
    makeModel();
    QStringList files;
    for (const auto &c : cases) {
        files.append(screenshot(QStringLiteral("Screenshot From 2026-11-12 10-4%1-00.png").arg(files.size())));
        m_analyzer->answers.append(c.answer);
        m_model->enqueue({files.last(), JobOrigin::event});
    }
    ASSERT_TRUE(waitForReports(static_cast<int>(files.size())));
    QStringList expectedErrors;
    for (int i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        const auto &c = cases[i];
        const bool retry = c.outcome == Outcome::retry;
        EXPECT_EQ(m_reports.at(i).outcome, c.outcome);
        EXPECT_EQ(m_reports.at(i).error, c.error);
        EXPECT_EQ(m_history->isPending(files.at(i)), retry);
        EXPECT_EQ(m_history->registry().pending.value(files.at(i)).attempts, retry ? 1 : 0);
        EXPECT_EQ(hasFailed(files.at(i)), !retry);
        EXPECT_TRUE(QFileInfo::exists(files.at(i)));
        // Automatic files are not worth a message until they fail for good.
        if (!retry)
            expectedErrors.append(errorBody(files.at(i), c.error));
    }
    EXPECT_EQ(m_model->lastError(), L("error.nothingRecognized"));
    EXPECT_EQ(waitForErrors(static_cast<int>(expectedErrors.size())), expectedErrors);
}

// A file that vanishes at the rename is nobody's fault; one that cannot be read, renamed or completed says why.
TEST_F(AppModelTest, fileLevelFailuresFailTheFileAndSayWhyButAVanishedOneIsSkipped)
{
    const struct
    {
        int renameError;
        JobOrigin origin;
        bool readable;
        bool complete;
        Outcome outcome;
        const char *error; // none: skipped silently
    } cases[] = {
        {ENOENT, JobOrigin::event, true, true, Outcome::skipped, nullptr},
        {EACCES, JobOrigin::event, true, true, Outcome::failed, "error.noAccess"},
        {0, JobOrigin::event, false, true, Outcome::failed, "error.permissionDenied"},
        {0, JobOrigin::manual, true, false, Outcome::failed, "error.incompleteImage"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error ? c.error : "vanished");
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
            EXPECT_EQ(hasFailed(file), c.error != nullptr);
        }
        if (c.error) {
            EXPECT_EQ(m_reports.last().error, L(c.error));
            EXPECT_EQ(waitForErrors(1).value(0), errorBody(file, L(c.error)));
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
    // Entries written an hour before these files were born: their inodes belonged to deleted files then.
    const QDateTime earlier = QDateTime::currentDateTime().addSecs(-3600);
    m_history->registry().handled.insert(*FileID::fromPath(handled), earlier);
    m_history->registry().failed.insert(*FileID::fromPath(failed), earlier);
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
