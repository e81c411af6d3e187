// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RenameCommand.h"

#include "CoroTest.h"
#include "NativePath.h"
#include "PipelineFixture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
