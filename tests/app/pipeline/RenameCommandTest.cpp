// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RenameCommand.h"

#include "CoroTest.h"
#include "PipelineFixture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

class RenameCommandTest : public PipelineFixture
{
protected:
    int run(const QStringList &arguments)
    {
        QString message;
        int exitCode = -1;
        const std::optional<RenameCommand::Options> options = RenameCommand::parse(arguments, &message, &exitCode);
        EXPECT_TRUE(options) << message.toStdString();
        if (!options)
            return exitCode;
        for (QBuffer *buffer : {&m_out, &m_err}) {
            buffer->close();
            buffer->setData({});
            buffer->open(QIODevice::WriteOnly);
        }
        RenameCommand command(*m_model, m_out, m_err, false);
        return runTask(command.run(*options));
    }
    QStringList outLines() const { return QString::fromUtf8(m_out.data()).split(u'\n', Qt::SkipEmptyParts); }
    QStringList errLines() const { return QString::fromUtf8(m_err.data()).split(u'\n', Qt::SkipEmptyParts); }

    QBuffer m_out;
    QBuffer m_err;
};

TEST_F(RenameCommandTest, namesEachFileAndReportsTheOnesItCannot)
{
    makeModel();
    const QString first = screenshot(QStringLiteral("a.png"));
    const QString second = screenshot(QStringLiteral("b.jpg"));
    const QString text = m_work.write(QStringLiteral("notes.txt"), "x");
    m_analyzer->answers = {
        ScriptedAnalyzer::titled(QStringLiteral("Mail inbox")),
        ScriptedAnalyzer::failing(AnalyzeResponse::ErrorCode::nothingRecognized, QStringLiteral("No text found"))};
    const int code =
        run({QStringLiteral("rename"), first, second, first, text, m_work.filePath(QStringLiteral("missing.png"))});
    EXPECT_EQ(code, RenameCommand::notAllNamed);
    EXPECT_EQ(outLines(), QStringList{QStringLiteral("a.png → Mail inbox.png")});
    EXPECT_EQ(errLines(),
              (QStringList{QStringLiteral("notes.txt: Not an image file"), QStringLiteral("missing.png: No such file"),
                           QStringLiteral("b.jpg: No text found")}));
    EXPECT_TRUE(QFileInfo::exists(m_work.filePath(QStringLiteral("Mail inbox.png"))));
    EXPECT_EQ(m_analyzer->analyzed.size(), 2);
    ASSERT_EQ(m_history->records().size(), 1);
    // A batch from the command line goes through the manual road: no pending marks are left behind.
    EXPECT_EQ(m_history->pendingCount(), 0);
}

TEST_F(RenameCommandTest, printsOneJsonObjectPerFile)
{
    makeModel();
    const QString file = screenshot(QStringLiteral("a.png"));
    EXPECT_EQ(run({QStringLiteral("rename"), QStringLiteral("--json"), file}), RenameCommand::success);
    ASSERT_EQ(outLines().size(), 1);
    const QJsonObject object = QJsonDocument::fromJson(outLines().first().toUtf8()).object();
    EXPECT_EQ(object.value(QStringLiteral("path")).toString(), file);
    EXPECT_EQ(object.value(QStringLiteral("newName")).toString(), QStringLiteral("Pull request review.png"));
    EXPECT_EQ(object.value(QStringLiteral("engine")).toString(), QStringLiteral("ai"));
    EXPECT_EQ(object.value(QStringLiteral("outcome")).toString(), QStringLiteral("renamed"));
    EXPECT_FALSE(object.value(QStringLiteral("dryRun")).toBool());
    EXPECT_TRUE(m_err.data().isEmpty());
}

TEST_F(RenameCommandTest, aDryRunShowsTheNamesAndChangesNothing)
{
    makeModel();
    const QString file = screenshot(QStringLiteral("a.png"));
    m_analyzer->answers = {
        ScriptedAnalyzer::titled(QStringLiteral("Mail inbox")),
        ScriptedAnalyzer::failing(AnalyzeResponse::ErrorCode::aiUnavailable, QStringLiteral("No model"))};
    EXPECT_EQ(run({QStringLiteral("rename"), QStringLiteral("--dry-run"), file}), RenameCommand::success);
    EXPECT_EQ(outLines(), QStringList{QStringLiteral("a.png → Mail inbox.png")});
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(m_history->records().isEmpty());

    EXPECT_EQ(run({QStringLiteral("rename"), QStringLiteral("--dry-run"), QStringLiteral("--json"), file}),
              RenameCommand::notAllNamed);
    const QJsonObject object = QJsonDocument::fromJson(outLines().value(0).toUtf8()).object();
    EXPECT_EQ(object.value(QStringLiteral("error")).toString(), QStringLiteral("No model"));
    EXPECT_TRUE(object.value(QStringLiteral("dryRun")).toBool());
}
