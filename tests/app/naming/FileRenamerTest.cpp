// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileRenamer.h"
#include "SystemRenameCalls.h"
#include "TempDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const TempDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The real calls, with chosen answers forced in and every call recorded.
class ScriptedCalls : public SystemRenameCalls
{
public:
    int noReplaceAnswer = 0; // forced answer of renameNoReplace, 0 = the real call
    int linkAnswer = 0;
    mutable int unlinkAnswer = 0; // forced answer of the first unlink only
    int lstatAnswer = 0;
    mutable QStringList log;

    int renameNoReplace(const QByteArray &from, const QByteArray &to) const override
    {
        log << "renameNoReplace " + QFileInfo(QFile::decodeName(to)).fileName();
        return noReplaceAnswer ? noReplaceAnswer : SystemRenameCalls::renameNoReplace(from, to);
    }
    int link(const QByteArray &from, const QByteArray &to) const override
    {
        log << "link " + QFileInfo(QFile::decodeName(to)).fileName();
        return linkAnswer ? linkAnswer : SystemRenameCalls::link(from, to);
    }
    int unlink(const QByteArray &path) const override
    {
        log << "unlink " + QFileInfo(QFile::decodeName(path)).fileName();
        const int answer = std::exchange(unlinkAnswer, 0);
        return answer ? answer : SystemRenameCalls::unlink(path);
    }
    int rename(const QByteArray &from, const QByteArray &to) const override
    {
        log << "rename " + QFileInfo(QFile::decodeName(to)).fileName();
        return SystemRenameCalls::rename(from, to);
    }
    int lstat(const QByteArray &path) const override
    {
        return lstatAnswer ? lstatAnswer : SystemRenameCalls::lstat(path);
    }
};

} // namespace

TEST(FileRenamer, KeepsTheExtensionAndLeavesASameNameAlone)
{
    TempDir dir;
    const QString same = dir.write("a.png");
    ScriptedCalls calls;
    const RenameResult untouched = FileRenamer::rename(same, " a ", " ", FileID::fromPath(same), calls);
    ASSERT_TRUE(untouched.ok());
    EXPECT_EQ(untouched.path(), same);
    EXPECT_TRUE(calls.log.isEmpty()) << calls.log.join(", ").toStdString();

    const QString shot = dir.write("screenshot.PNG", "png bytes");
    const RenameResult renamed = FileRenamer::rename(shot, "Chart", " ", FileID::fromPath(shot));
    ASSERT_TRUE(renamed.ok());
    EXPECT_EQ(renamed.path(), dir.filePath("Chart.PNG"));
    EXPECT_EQ(contents(renamed.path()), "png bytes");

    ASSERT_TRUE(FileRenamer::rename(dir.write("notes"), "Meeting notes", " ", std::nullopt).ok());
    EXPECT_EQ(entries(dir), (QStringList{"Chart.PNG", "Meeting notes", "a.png"}));
}

TEST(FileRenamer, TakenNamesAreNumberedWithTheSeparator)
{
    struct Case
    {
        const char *separator;
        QStringList existing;
        const char *expected;
    };
    const Case cases[] = {
        {" ", {"Chart.png", "Chart 2.png"}, "Chart 3.png"},
        {"-", {"Chart.png", "Chart-2.png"}, "Chart-3.png"},
        // Numbers of another separator do not count as taken.
        {"-", {"Chart.png", "Chart 2.png"}, "Chart-2.png"},
    };
    for (const Case &c : cases) {
        TempDir dir;
        for (const QString &name : c.existing)
            dir.write(name, name.toUtf8());
        const QString shot = dir.write("Screenshot.png", "new");
        const RenameResult result = FileRenamer::rename(shot, "Chart", c.separator, FileID::fromPath(shot));
        ASSERT_TRUE(result.ok()) << c.expected;
        EXPECT_EQ(result.path(), dir.filePath(c.expected));
        EXPECT_EQ(contents(result.path()), "new");
        for (const QString &name : c.existing)
            EXPECT_EQ(contents(dir.filePath(name)), name.toUtf8()) << "overwrote " << name.toStdString();
    }
}

TEST(FileRenamer, AllNumbersTakenGivesNoFreeName)
{
    TempDir dir;
    dir.write("Chart.png");
    for (int number = 2; number <= 999; ++number)
        dir.write(QStringLiteral("Chart %1.png").arg(number));
    const QString shot = dir.write("Screenshot.png", "new");

    QElapsedTimer timer;
    timer.start();
    const RenameResult result = FileRenamer::rename(shot, "Chart", " ", FileID::fromPath(shot));
    EXPECT_LT(timer.elapsed(), 2000);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(*result.error(), RenameError::noFreeName());
    EXPECT_EQ(contents(shot), "new");
    EXPECT_EQ(entries(dir).size(), 1000);
}

TEST(FileRenamer, RefusesAFileThatIsGoneOrReplaced)
{
    TempDir dir;
    const QString shot = dir.write("shot.png", "original");
    const std::optional<FileID> seen = FileID::fromPath(shot);
    ASSERT_TRUE(seen);

    // Another file takes the path while both exist, so the inode cannot be reused.
    const QString other = dir.write("other.png", "someone else's");
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(shot).constData()), 0);
    for (const RenameResult &refused :
         {FileRenamer::rename(shot, "Chart", " ", seen), FileRenamer::restore(shot, "original.png", seen)}) {
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(*refused.error(), RenameError::sourceChanged());
    }
    EXPECT_EQ(entries(dir), QStringList{"shot.png"});

    // A volume known on one side only is no mismatch.
    FileID withoutVolume = *FileID::fromPath(shot), otherVolume = withoutVolume;
    withoutVolume.volume.reset();
    otherVolume.volume = QStringLiteral("00000000-0000-0000-0000-000000000000");
    if (FileID::fromPath(shot)->volume) {
        const RenameResult moved = FileRenamer::rename(shot, "Elsewhere", " ", otherVolume);
        ASSERT_FALSE(moved.ok());
        EXPECT_EQ(*moved.error(), RenameError::sourceChanged());
    }
    EXPECT_TRUE(FileRenamer::rename(shot, "Chart", " ", withoutVolume).ok());
}

TEST(FileRenamer, RefusesInvalidNames)
{
    TempDir dir;
    const QString shot = dir.write("shot.png");
    const QString names[] = {"", "\n\t", "../x", "a/b", "a:b", ".hidden", "..", QStringLiteral("a") + QChar(0) + "b"};
    for (const QString &name : names) {
        const RenameResult result = FileRenamer::rename(shot, name, " ", std::nullopt);
        ASSERT_FALSE(result.ok()) << name.toStdString();
        EXPECT_EQ(*result.error(), RenameError::invalidName()) << name.toStdString();
    }
    EXPECT_EQ(entries(dir), QStringList{"shot.png"});
    // The name is checked before the file, so a missing file with a bad name still reports the name.
    EXPECT_EQ(*FileRenamer::rename(dir.filePath("gone.png"), ".x", " ", std::nullopt).error(),
              RenameError::invalidName());
    EXPECT_EQ(*FileRenamer::restore(shot, "../escape.png", std::nullopt).error(), RenameError::invalidName());
}

TEST(FileRenamer, CaseOnlyRenameOfTheSameFileUsesAPlainRename)
{
    TempDir dir;
    // A case-insensitive volume shows the same file under the other spelling; a hard link stands in for that.
    const QString lower = dir.filePath("report.png");
    const QString upper = dir.filePath("Report.png");
    dir.write("report.png", "report");
    ASSERT_EQ(::link(QFile::encodeName(lower).constData(), QFile::encodeName(upper).constData()), 0);
    ScriptedCalls insensitive;
    const RenameResult result = FileRenamer::rename(lower, "Report", " ", FileID::fromPath(lower), insensitive);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.path(), upper);
    EXPECT_EQ(insensitive.log, QStringList{"rename Report.png"});
}

TEST(FileRenamer, FallsBackToHardLinksAndThenToLookingBeforeRenamingPlainly)
{
    const struct
    {
        int noReplaceAnswer, linkAnswer;
        const char *lastCall; // after a refused try at Chart.png and a try at Chart 2.png
    } cases[] = {
        {EINVAL, 0, "unlink Screenshot.png"},
        {ENOTSUP, 0, "unlink Screenshot.png"},
        {ENOTSUP, EPERM, "rename Chart 2.png"}, // what vfat answers to link()
    };
    for (const auto &c : cases) {
        TempDir dir;
        dir.write("Chart.png", "existing");
        const QString shot = dir.write("Screenshot.png", "new");
        const auto inode = FileID::fromPath(shot)->inode;
        ScriptedCalls calls;
        calls.noReplaceAnswer = c.noReplaceAnswer;
        calls.linkAnswer = c.linkAnswer;
        const RenameResult result = FileRenamer::rename(shot, "Chart", " ", FileID::fromPath(shot), calls);
        ASSERT_TRUE(result.ok()) << c.lastCall;
        EXPECT_EQ(result.path(), dir.filePath("Chart 2.png"));
        EXPECT_EQ(FileID::fromPath(result.path())->inode, inode);
        EXPECT_EQ(contents(dir.filePath("Chart.png")), "existing");
        EXPECT_EQ(entries(dir), (QStringList{"Chart 2.png", "Chart.png"}));
        EXPECT_EQ(calls.log, (QStringList{"renameNoReplace Chart.png", "link Chart.png", "renameNoReplace Chart 2.png",
                                          "link Chart 2.png", c.lastCall}));
    }
}

TEST(FileRenamer, ClassifiesSystemRefusals)
{
    struct Case
    {
        int noReplaceAnswer, lstatAnswer, unlinkAnswer;
        RenameError expected;
    };
    const Case cases[] = {
        {EPERM, 0, 0, RenameError::noAccess()},
        {ENOENT, 0, 0, RenameError::sourceMissing()},
        {ENOSPC, 0, 0, RenameError::system(ENOSPC)},
        {0, EACCES, 0, RenameError::noAccess()},
        {0, ENOENT, 0, RenameError::sourceMissing()},
        // The link fallback cannot drop the old name: its link is undone.
        {ENOTSUP, 0, EACCES, RenameError::noAccess()},
    };
    for (const Case &c : cases) {
        TempDir dir;
        const QString shot = dir.write("shot.png");
        ScriptedCalls calls;
        calls.noReplaceAnswer = c.noReplaceAnswer;
        calls.lstatAnswer = c.lstatAnswer;
        calls.unlinkAnswer = c.unlinkAnswer;
        const RenameResult result = FileRenamer::rename(shot, "Chart", " ", std::nullopt, calls);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(*result.error(), c.expected) << std::strerror(c.noReplaceAnswer + c.lstatAnswer);
        EXPECT_EQ(entries(dir), QStringList{"shot.png"});
    }
}

TEST(FileRenamer, RestoreGivesBackTheOriginalNameAndKeepsTheCurrentExtension)
{
    const QString original = QStringLiteral("Screenshot 2026-11-12 at 10.42.17.png");
    TempDir dir;
    const QString chart = dir.write("Chart.png", "bytes");
    RenameResult result = FileRenamer::restore(chart, original, FileID::fromPath(chart));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.path(), dir.filePath(original));

    // Taken meanwhile: numbered with a space whatever separator new names use.
    const QString again = dir.write("Chart.png", "second");
    result = FileRenamer::restore(again, original, FileID::fromPath(again));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.path(), dir.filePath("Screenshot 2026-11-12 at 10.42.17 2.png"));
    EXPECT_EQ(contents(dir.filePath(original)), "bytes");

    // Colons some tools write come back; the original extension's case is taken, or else the file's own.
    const struct
    {
        const char *current, *original, *expected;
    } cases[] = {
        {"Terminal.png", "2024-01-15T10:42:17Z_grim.png", "2024-01-15T10:42:17Z_grim.png"},
        {"Chart.PNG", "shot.png", "shot.png"},
        {"Diagram.PNG", "shot.png", "shot.PNG"},
        {"Photo.jpg", "IMG_0001.jpeg", "IMG_0001.jpg"},
    };
    for (const auto &c : cases) {
        result = FileRenamer::restore(dir.write(c.current), c.original, std::nullopt);
        ASSERT_TRUE(result.ok()) << c.current;
        EXPECT_EQ(result.path(), dir.filePath(c.expected));
    }
}
