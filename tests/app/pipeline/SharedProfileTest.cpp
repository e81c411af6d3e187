// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"
#include "AppSettings.h"
#include "CoroTest.h"
#include "HistoryStore.h"
#include "ModelServerDouble.h"
#include "ProfileApplication.h"
#include "RenderedScreen.h"
#include "TestProfile.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// Screenshot `n` carries a heading of its own, so every file gets a name of its own.
QString heading(int n)
{
    static const QStringList words =
        QStringLiteral("Harbour Lantern Meadow Granite Copper Willow Falcon Orchard Thunder Velvet Summit Glacier")
            .split(u' ');
    return words.at(n) + QStringLiteral(" budget review");
}

QString writeScreen(const QString &path, int n)
{
    EXPECT_TRUE(renderedScreen(heading(n), {QStringLiteral("Figures for the committee")}).save(path, "PNG"));
    return path;
}
} // namespace

TEST(SharedProfileTest, commandLinesAndTheTrayApplicationKeepEveryRecordOfOneHistory)
{
    // A model that names a screen by the first line of text it is shown.
    ModelServerDouble model;
    ModelServerDouble::OllamaModel text;
    text.name = QStringLiteral("llama3.2:3b");
    model.serveOllama({text});
    model.setHandler(QStringLiteral("/api/chat"), [](const ModelServerDouble::Request &request) {
        const QJsonArray messages = request.json().value(QStringLiteral("messages")).toArray();
        const QString prompt = messages.isEmpty() ? QString() : messages.last()[QStringLiteral("content")].toString();
        static const QRegularExpression firstLine(QStringLiteral("top to bottom:\\n([^\\n]+)"));
        const QRegularExpressionMatch match = firstLine.match(prompt);
        return ModelServerDouble::ollamaAnswer(ModelServerDouble::record(
            QStringLiteral("summary"), match.hasMatch() ? match.captured(1) : QStringLiteral("Empty screen")));
    });
    TestProfile profile(model.url());
    ASSERT_TRUE(profile.bus().isRunning());

    // The tray application, in this process, watching a folder.
    TempDir watched;
    AppSettings settings(profile.settingsStore());
    settings.setFolders({watchedFolder(watched.path())});
    HistoryStore history(profile.historyDirectory());
    AppModel tray(settings, history, profileServices(profile));
    runTask(tray.start());
    ASSERT_TRUE(tray.isWatching());

    // Two command lines at once over four files each, then a third over two, while two screenshots arrive.
    TempDir folders[3];
    QStringList files[3];
    for (int n = 0; n < 10; ++n) {
        const int folder = n < 4 ? 0 : n < 8 ? 1 : 2;
        files[folder].append(writeScreen(folders[folder].filePath(QStringLiteral("shot-%1.png").arg(n)), n));
    }
    const QStringList rename{QStringLiteral("rename")};
    const std::unique_ptr<QProcess> one = profile.startZentrope(rename + files[0]);
    const std::unique_ptr<QProcess> two = profile.startZentrope(rename + files[1]);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    writeScreen(watched.filePath(QStringLiteral("Screenshot From %1.png").arg(stamp)), 10);
    writeScreen(watched.filePath(QStringLiteral("Screenshot From %1-1.png").arg(stamp)), 11);
    ASSERT_TRUE(TestProfile::waitForExit(*one, 400000));
    ASSERT_TRUE(TestProfile::waitForExit(*two, 400000));
    const std::unique_ptr<QProcess> three = profile.startZentrope(rename + files[2]);
    ASSERT_TRUE(TestProfile::waitForExit(*three, 400000));
    for (QProcess *process : {one.get(), two.get(), three.get()})
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return history.count() == 12 && !tray.isWorking(); }, 240000))
        << "the tray application sees " << history.count() << " records";

    // On disk, as the next process would read it: one record per file, each naming the file as it is now.
    const HistoryStore disk(profile.historyDirectory());
    ASSERT_EQ(disk.count(), 12);
    QSet<QString> names;
    for (const RenameRecord &record : disk.records()) {
        SCOPED_TRACE(record.currentName.toStdString());
        EXPECT_EQ(record.engine, NamingEngineKind::ai);
        EXPECT_TRUE(QFileInfo::exists(record.filePath()));
        EXPECT_TRUE(record.fileID && disk.isHandled(*record.fileID));
        names.insert(QFileInfo(record.currentName).completeBaseName());
    }
    for (int n = 0; n < 12; ++n)
        EXPECT_TRUE(names.contains(heading(n))) << heading(n).toStdString();
    EXPECT_EQ(disk.pendingCount(), 0);

    // The tray application undoes a rename the command line made.
    const auto fromCommandLine = std::find_if(history.records().cbegin(), history.records().cend(),
                                              [&](const RenameRecord &r) { return r.folderPath == folders[0].path(); });
    ASSERT_NE(fromCommandLine, history.records().cend());
    const RenameRecord record = *fromCommandLine;
    tray.undo(record);
    EXPECT_TRUE(QFileInfo::exists(folders[0].filePath(record.originalName)));
    EXPECT_EQ(HistoryStore(profile.historyDirectory()).record(record.id)->state, RenameRecord::State::undone);
    tray.shutdown();
}
