// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// `zentrope rename` over everything a folder can hold besides plain screenshots: one clear line per file, no hang,
// and nothing touched but the files it names.
#include "ModelServerDouble.h"
#include "NativePath.h"
#include "Soak.h"
#include "TestProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

TEST(RenameCommandSoakTest, everyOddFileGetsAClearLineAndNothingElseIsTouched)
{
    ModelServerDouble model;
    ModelServerDouble::OllamaModel text;
    text.name = QStringLiteral("llama3.2:3b");
    model.serveOllama({text});
    TempDir folder;
    TempDir elsewhere;
    const QDir dir(folder.path());
    // The first generation request deletes a file still waiting in the queue.
    const QString doomed = dir.filePath(QStringLiteral("Screenshot From 2026-11-12 10-00-09.png"));
    int chats = 0;
    model.setHandler(QStringLiteral("/api/chat"), [&](const ModelServerDouble::Request &) {
        if (++chats == 1)
            QFile::remove(doomed);
        return ModelServerDouble::ollamaAnswer(ModelServerDouble::record(
            QStringLiteral("summary"), QStringLiteral("Harbour planning notes %1").arg(chats)));
    });
    TestProfile profile(model.url());

    const QString first = dir.filePath(Soak::gnomeName(1));
    const QString directory = dir.filePath(QStringLiteral("Screenshot From 2026-11-12 10-00-02.png"));
    const QString link = dir.filePath(QStringLiteral("Screenshot From 2026-11-12 10-00-03.png"));
    const QString target = elsewhere.filePath(QStringLiteral("target.png"));
    const QString fifo = dir.filePath(QStringLiteral("Screenshot From 2026-11-12 10-00-04.png"));
    const QString locked = dir.filePath(QStringLiteral("Screenshot From 2026-11-12 10-00-05.png"));
    const QString newline = dir.filePath(QStringLiteral("Screenshot\nFrom 2026-11-12 10-00-06.png"));
    const QString invalidUtf8 = NativePath::decode(QFile::encodeName(dir.path()) + "/Screenshot \xff\xfe 10-00-07.png");
    const QString bystander = dir.filePath(QStringLiteral("Screenshot From 2026-11-12 10-00-08.png"));
    for (const QString &path : {first, target, locked, newline, invalidUtf8, bystander, doomed})
        ASSERT_TRUE(Soak::writeFile(path, Soak::screenPng(static_cast<int>(path.size())))) << path.toStdString();
    ASSERT_TRUE(QDir().mkpath(directory));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    // Root reads whatever the permissions say.
    const bool canLock = ::geteuid() != 0;
    const QStringList untouched = Soak::contentDigests(elsewhere.path());

    QElapsedTimer clock;
    clock.start();
    const QStringList files{first, doomed, directory, link, fifo, locked, newline, invalidUtf8};
    const std::unique_ptr<QProcess> rename =
        profile.startZentrope(QStringList{QStringLiteral("rename"), QStringLiteral("--json")} + files);
    ASSERT_TRUE(TestProfile::waitForExit(*rename, 300000)) << "zentrope rename hangs";
    const double took = Soak::seconds(clock);
    EXPECT_EQ(rename->exitCode(), 1);

    // JSON text holds no bytes that are not UTF-8: such names come out with U+FFFD in their place.
    const auto key = [](QString path) {
        for (QChar &c : path) {
            if (c.isSurrogate())
                c = QChar::ReplacementCharacter;
        }
        return path;
    };
    QHash<QString, QJsonObject> lines;
    for (const QByteArray &line : rename->readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        EXPECT_FALSE(object.isEmpty()) << line.toStdString();
        lines.insert(key(object.value(QStringLiteral("path")).toString()), object);
    }
    EXPECT_EQ(lines.size(), files.size());
    const auto outcome = [&](const QString &path) {
        const QJsonObject line = lines.value(key(path));
        return line.value(QStringLiteral("outcome")).toString() + u'|' + line.value(QStringLiteral("error")).toString();
    };
    const auto named = [&](const QString &path) {
        const QJsonObject line = lines.value(key(path));
        return line.value(QStringLiteral("outcome")).toString() == QStringLiteral("renamed") &&
               QFileInfo::exists(line.value(QStringLiteral("newPath")).toString()) && !QFileInfo::exists(path);
    };
    EXPECT_TRUE(named(first)) << outcome(first).toStdString();
    EXPECT_TRUE(named(newline)) << outcome(newline).toStdString();
    EXPECT_TRUE(named(invalidUtf8)) << outcome(invalidUtf8).toStdString();
    EXPECT_EQ(outcome(doomed), QStringLiteral("skipped|The file changed or disappeared"));
    EXPECT_EQ(outcome(directory), QStringLiteral("skipped|Not a regular file"));
    EXPECT_EQ(outcome(link), QStringLiteral("skipped|A symbolic link: name the file it points to"));
    EXPECT_EQ(outcome(fifo), QStringLiteral("skipped|Not a regular file"));
    if (canLock) {
        EXPECT_EQ(outcome(locked), QStringLiteral("skipped|Permission denied"));
    }

    // The odd ones are where they were, the link still points where it did, the bystander is as it was.
    EXPECT_TRUE(QFileInfo(directory).isDir());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_EQ(Soak::contentDigests(elsewhere.path()), untouched);
    EXPECT_TRUE(QFileInfo(fifo).exists());
    EXPECT_TRUE(QFileInfo::exists(bystander));
    if (canLock) {
        EXPECT_TRUE(QFileInfo::exists(locked));
    }
    Soak::report("zentrope rename on odd files",
                 QStringLiteral("%1 files in %2 s: 3 named, %3 refused with a reason%4")
                     .arg(files.size())
                     .arg(took, 0, 'f', 2)
                     .arg(canLock ? 5 : 4)
                     .arg(canLock ? QString() : QStringLiteral(" (the unreadable file is not checked as root)")));
}
