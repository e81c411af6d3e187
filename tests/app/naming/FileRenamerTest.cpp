// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileRenamer.h"
#include "SystemRenameCalls.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>
#include <utility>
#include <variant>

namespace {

using Outcome = std::variant<QString, RenameError>;

// The file's new name, or why it has none.
Outcome outcome(const RenameResult &result)
{
    return result.ok() ? Outcome(QFileInfo(result.path()).fileName()) : Outcome(*result.error());
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const TempDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The real calls, with chosen failures forced in and every call recorded.
class ScriptedCalls : public SystemRenameCalls
{
public:
    int noReplaceAnswer = 0, linkAnswer = 0, lstatAnswer = 0; // 0: make the real call
    mutable int unlinkAnswer = 0;                             // for the first unlink only
    mutable QStringList log;

    int renameNoReplace(const QByteArray &from, const QByteArray &to) const override
    {
        return record("renameNoReplace", to, noReplaceAnswer,
                      [&] { return SystemRenameCalls::renameNoReplace(from, to); });
    }
    int link(const QByteArray &from, const QByteArray &to) const override
    {
        return record("link", to, linkAnswer, [&] { return SystemRenameCalls::link(from, to); });
    }
    int unlink(const QByteArray &path) const override
    {
        return record("unlink", path, std::exchange(unlinkAnswer, 0), [&] { return SystemRenameCalls::unlink(path); });
    }
    int rename(const QByteArray &from, const QByteArray &to) const override
    {
        return record("rename", to, 0, [&] { return SystemRenameCalls::rename(from, to); });
    }
    int lstat(const QByteArray &path) const override
    {
        return lstatAnswer ? lstatAnswer : SystemRenameCalls::lstat(path);
    }

private:
    int record(const char *call, const QByteArray &path, int answer, const auto &real) const
    {
        log << QLatin1String(call) + u' ' + QFileInfo(QFile::decodeName(path)).fileName();
        return answer ? answer : real();
    }
};

} // namespace

TEST(FileRenamer, KeepsTheExtensionNumbersTakenNamesAndChangesOnlyTheCaseInPlace)
{
    TempDir dir;
    const QString same = dir.write("a.png");
    ScriptedCalls calls;
    EXPECT_EQ(outcome(FileRenamer::rename(same, " a ", " ", FileID::fromPath(same), calls)), Outcome("a.png"));
    EXPECT_TRUE(calls.log.isEmpty()) << calls.log.join(", ").toStdString();
    // A case-insensitive volume shows the same file under the other spelling; a hard link stands in for that.
    ASSERT_EQ(::link(QFile::encodeName(same).constData(), QFile::encodeName(dir.filePath("A.png")).constData()), 0);
    EXPECT_EQ(outcome(FileRenamer::rename(same, "A", " ", FileID::fromPath(same), calls)), Outcome("A.png"));
    EXPECT_EQ(calls.log, QStringList{"rename A.png"});

    const auto rename = [&](const QString &name, const char *separator) {
        const QString shot = dir.write(name, name.toUtf8());
        return outcome(FileRenamer::rename(shot, "Chart", separator, FileID::fromPath(shot)));
    };
    EXPECT_EQ(rename("screenshot.PNG", " "), Outcome("Chart.PNG"));
    EXPECT_EQ(rename("notes", " "), Outcome("Chart"));
    EXPECT_EQ(rename("one.png", " "), Outcome("Chart.png"));
    EXPECT_EQ(rename("two.png", " "), Outcome("Chart 2.png"));
    // Numbers of another separator do not count as taken.
    EXPECT_EQ(rename("three.png", "-"), Outcome("Chart-2.png"));
    EXPECT_EQ(rename("four.png", "-"), Outcome("Chart-3.png"));
    EXPECT_EQ(rename("five.png", " "), Outcome("Chart 3.png"));
    EXPECT_EQ(contents(dir.filePath("Chart.png")), "one.png");

    for (int number = 4; number <= 999; ++number)
        dir.write(QStringLiteral("Chart %1.png").arg(number));
    EXPECT_EQ(rename("six.png", " "), Outcome(RenameError::noFreeName()));
    EXPECT_EQ(contents(dir.filePath("six.png")), "six.png");
}

TEST(FileRenamer, RefusesAFileThatIsGoneOrReplacedAndInvalidNames)
{
    TempDir dir;
    const QString shot = dir.write("shot.png", "original");
    const std::optional<FileID> seen = FileID::fromPath(shot);
    // Another file takes the path while both exist, so the inode cannot be reused.
    ASSERT_EQ(::rename(QFile::encodeName(dir.write("other.png")).constData(), QFile::encodeName(shot).constData()), 0);
    EXPECT_EQ(outcome(FileRenamer::rename(shot, "Chart", " ", seen)), Outcome(RenameError::sourceChanged()));
    EXPECT_EQ(outcome(FileRenamer::restore(shot, "original.png", seen)), Outcome(RenameError::sourceChanged()));

    // A volume known on one side only is no mismatch.
    FileID withoutVolume = *FileID::fromPath(shot), otherVolume = withoutVolume;
    withoutVolume.volume.reset();
    otherVolume.volume = QStringLiteral("00000000-0000-0000-0000-000000000000");
    if (FileID::fromPath(shot)->volume) {
        EXPECT_EQ(outcome(FileRenamer::rename(shot, "X", " ", otherVolume)), Outcome(RenameError::sourceChanged()));
    }

    for (const QString &name :
         {QString("\n\t"), QString("a/b"), QString("a:b"), QString(".hidden"), QStringLiteral("a") + QChar(0) + "b"})
        EXPECT_EQ(outcome(FileRenamer::rename(shot, name, " ", std::nullopt)), Outcome(RenameError::invalidName()))
            << name.toStdString();
    // The name is checked before the file.
    EXPECT_EQ(outcome(FileRenamer::rename(dir.filePath("gone.png"), ".x", " ", std::nullopt)),
              Outcome(RenameError::invalidName()));
    EXPECT_EQ(outcome(FileRenamer::restore(shot, "../escape.png", std::nullopt)), Outcome(RenameError::invalidName()));
    EXPECT_EQ(entries(dir), QStringList{"shot.png"});
    EXPECT_EQ(outcome(FileRenamer::rename(shot, "Chart", " ", withoutVolume)), Outcome("Chart.png"));
}

TEST(FileRenamer, FallsBackToHardLinksThenToLookingBeforeRenamingAndClassifiesRefusals)
{
    // Forced answers of renameNoReplace, link, lstat and the first unlink. vfat answers EPERM to link(); a failed
    // unlink must undo the fallback's link.
    const std::tuple<int, int, int, int, Outcome, const char *> cases[] = {
        {ENOTSUP, 0, 0, 0, "Chart 2.png", "unlink Screenshot.png"},
        {EINVAL, EPERM, 0, 0, "Chart 2.png", "rename Chart 2.png"},
        {EPERM, 0, 0, 0, RenameError::noAccess(), "renameNoReplace Chart.png"},
        {ENOENT, 0, 0, 0, RenameError::sourceMissing(), "renameNoReplace Chart.png"},
        {ENOSPC, 0, 0, 0, RenameError::system(ENOSPC), "renameNoReplace Chart.png"},
        {0, 0, EACCES, 0, RenameError::noAccess(), nullptr},
        {0, 0, ENOENT, 0, RenameError::sourceMissing(), nullptr},
        {ENOTSUP, 0, 0, EACCES, RenameError::noAccess(), "unlink Chart 2.png"},
    };
    for (const auto &[noReplaceAnswer, linkAnswer, lstatAnswer, unlinkAnswer, expected, lastCall] : cases) {
        TempDir dir;
        dir.write("Chart.png", "existing");
        const QString shot = dir.write("Screenshot.png", "new");
        ScriptedCalls calls;
        calls.noReplaceAnswer = noReplaceAnswer;
        calls.linkAnswer = linkAnswer;
        calls.lstatAnswer = lstatAnswer;
        calls.unlinkAnswer = unlinkAnswer;
        EXPECT_EQ(outcome(FileRenamer::rename(shot, "Chart", " ", std::nullopt, calls)), expected) << lastCall;
        EXPECT_EQ(calls.log.value(calls.log.size() - 1), QString::fromUtf8(lastCall));
        EXPECT_EQ(contents(dir.filePath("Chart.png")), "existing");
        const bool renamed = std::holds_alternative<QString>(expected);
        EXPECT_EQ(entries(dir),
                  (QStringList{renamed ? "Chart 2.png" : "Chart.png", renamed ? "Chart.png" : "Screenshot.png"}));
    }
}

TEST(FileRenamer, RestoreGivesBackTheOriginalNameAndKeepsTheCurrentExtension)
{
    TempDir dir;
    const QString original = QStringLiteral("Screenshot 2026-11-12 at 10.42.17.png");
    const auto restore = [&](const char *current, const QString &to) {
        const QString path = dir.write(current, current);
        return outcome(FileRenamer::restore(path, to, FileID::fromPath(path)));
    };
    EXPECT_EQ(restore("Chart.png", original), Outcome(original));
    // Taken meanwhile: numbered with a space whatever separator new names use.
    EXPECT_EQ(restore("Chart-2.png", original), Outcome("Screenshot 2026-11-12 at 10.42.17 2.png"));
    EXPECT_EQ(contents(dir.filePath(original)), "Chart.png");
    // Colons some tools write come back; the original extension's case is taken, or else the file's own.
    EXPECT_EQ(restore("Terminal.png", "2024-01-15T10:42:17Z_grim.png"), Outcome("2024-01-15T10:42:17Z_grim.png"));
    EXPECT_EQ(restore("Chart.PNG", "shot.png"), Outcome("shot.png"));
    EXPECT_EQ(restore("Diagram.PNG", "shot.png"), Outcome("shot.PNG"));
    EXPECT_EQ(restore("Photo.jpg", "IMG_0001.jpeg"), Outcome("IMG_0001.jpg"));
}
