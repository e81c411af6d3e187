// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenshotDetector.h"

#include "CoroTest.h"
#include "IcuRegex.h"
#include "ImageBytes.h"
#include "TempDir.h"
#include "TestClock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

struct NameCase
{
    const char *fileName;
    bool screenshot;
};

class NameTest : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(NameTest, looksLikeScreenshotByNameAlone)
{
    TempDir dir;
    // The file does not exist, so no attribute can help: the answer comes from the name.
    const QString path = dir.filePath(QString::fromUtf8(GetParam().fileName));
    EXPECT_EQ(ScreenshotDetector::looksLikeScreenshot(path), GetParam().screenshot) << GetParam().fileName;
}

INSTANTIATE_TEST_SUITE_P(SystemNames, NameTest,
                         ::testing::Values(NameCase{"Screenshot 2026-11-12 at 10.42.17.png", true},
                                           NameCase{"Снимок экрана 2026-11-12 в 10.42.17.png", true},
                                           NameCase{"Screenshot 2026-11-12 at 10.42.17 (2).png", true},
                                           NameCase{"Screenshot 2026-11-12 at 10.42.17 2.png", true},
                                           NameCase{"Screen Shot 2026-11-12 at 9.05.01 PM.png", true},
                                           NameCase{"Captura de pantalla 2026-11-12 a las 9.05.01 p. m..png", true},
                                           NameCase{"Screenshot 2026-11-12 at 10.42.17@2x.png", true},
                                           NameCase{"SCREENSHOT 2026-11-12 AT 10.42.17.PNG", true},
                                           NameCase{"СНИМОК ЭКРАНА 2026-11-12 В 10.42.17.png", true},
                                           NameCase{"skärmavbild 2026-11-12 kl. 10.42.17.png", true},
                                           NameCase{"ΣΤΙΓΜΙΌΤΥΠΟ ΟΘΌΝΗΣ 2026-11-12 10.42.17.png", true},
                                           NameCase{"スクリーンショット 2026-11-12 10.42.17.png", true},
                                           NameCase{"Capture d'écran 2026-11-12 à 10.42.17.png", true},
                                           NameCase{"Capture d’écran 2026-11-12 à 10.42.17.png", true},
                                           NameCase{"Holiday 2026-11-12 at 10.42.17.png", false},
                                           NameCase{"Screenshot.png", false},
                                           NameCase{"Screenshot 2026-11-12.png", false},
                                           NameCase{"Screenshot 2026-11-12 at 10.42.17 copy.png", false},
                                           NameCase{"My Screenshot 2026-11-12 at 10.42.17.png", false},
                                           NameCase{"Screenshot 2026-11-12 at 10.42.17.png.png", false}));

INSTANTIATE_TEST_SUITE_P(
    LinuxToolNames, NameTest,
    ::testing::Values(
        // GNOME Shell and gnome-screenshot, translations and collision suffixes.
        NameCase{"Screenshot from 2024-01-15 10-42-17.png", true},
        NameCase{"Screenshot From 2024-01-15 10-42-17.png", true},
        NameCase{"Screenshot from 2024-01-15 10-42-17-1.png", true},
        NameCase{"Screenshot from 2024-01-15 10-42-17 - 2.png", true},
        NameCase{"Bildschirmfoto vom 2024-01-15 10-42-17.png", true},
        NameCase{"Capture d’écran du 2024-01-15 10-42-17.png", true},
        NameCase{"Captura desde 2024-01-15 10-42-17.png", true},
        NameCase{"Снимок экрана от 2024-01-15 10-42-17.png", true},
        NameCase{"снимок экрана от 2024-01-15 10-42-17-3.png", true},
        NameCase{"Zrzut ekranu z 2024-01-15 10-42-17.png", true},
        NameCase{"Schermafdruk van 2024-01-15 10-42-17.png", true}, NameCase{"截图 2024-01-15 10-42-17.png", true},
        NameCase{"2024-01-15 10-42-17屏幕截图.png", true}, NameCase{"Screenshot from 2024-01-15 10-42.png", false},
        NameCase{"Screenshot from 2024-01-15 10-42-17 copy.png", false},
        // Spectacle, with translated prefixes.
        NameCase{"Screenshot_20240115_104217.png", true}, NameCase{"Screenshot_20240115_104217-1.png", true},
        NameCase{"Bildschirmfoto_20240115_104217.png", true}, NameCase{"Снимок экрана_20240115_104217.png", true},
        NameCase{"Holiday_20240115_104217.png", false}, NameCase{"Screenshot_20240115_1042.png", false},
        // XFCE Screenshooter.
        NameCase{"Screenshot_2024-01-15_10-42-17.png", true}, NameCase{"Screenshot_2024-01-15_10-42-17-1.png", true},
        NameCase{"Bildschirmfoto_2024-01-15_10-42-17.png", true},
        NameCase{"Capture d’écran_2024-01-15_10-42-17.png", true},
        NameCase{"СНИМОК ЭКРАНА_2024-01-15_10-42-17.png", true},
        // ksnip.
        NameCase{"ksnip_20240115-104217.png", true}, NameCase{"ksnip_20240115-104217(2).png", true},
        NameCase{"KSNIP_20240115-104217.png", true}, NameCase{"ksnip_20240115_104217.png", false},
        // grim, new and old.
        NameCase{"20240115_10h42m17s_grim.png", true}, NameCase{"2024-01-15T10:42:17Z_grim.png", true},
        NameCase{"20240115_10h42m17s.png", false},
        // Deepin, with and without a window title.
        NameCase{"Screenshot_20240115104217.png", true}, NameCase{"Screenshot_Firefox_20240115104217.png", true},
        NameCase{"Screenshot_Some window_title_20240115104217.png", true},
        NameCase{"Screenshot_2024011510421.png", false},
        // Flameshot (minutes only).
        NameCase{"2024-01-15_10-42.png", true}, NameCase{"2024-01-15_10-42_1.png", true},
        NameCase{"2024-01-15.png", false}, NameCase{"IMG_20240115_104217.jpg", false}));

TEST(ScreenshotDetectorTest, customPrefixIsTrimmedAndQuoted)
{
    const IcuRegex withPrefix(ScreenshotDetector::knownNamePattern(QStringLiteral(" My (Shots)\t ")));
    EXPECT_TRUE(withPrefix.matches(QStringLiteral("My (Shots) 2026-11-12 at 10.42.17")));
    EXPECT_TRUE(withPrefix.matches(QStringLiteral("my (shots) 2026-11-12 at 10.42.17")));
    EXPECT_FALSE(withPrefix.matches(QStringLiteral("My Shots 2026-11-12 at 10.42.17")));
    EXPECT_FALSE(withPrefix.matches(QStringLiteral(" My (Shots)  x 2026-11-12 at 10.42.17")));
    EXPECT_TRUE(withPrefix.matches(QStringLiteral("Screenshot 2026-11-12 at 10.42.17")));

    const IcuRegex dotted(ScreenshotDetector::knownNamePattern(QStringLiteral("a.b")));
    EXPECT_TRUE(dotted.matches(QStringLiteral("a.b 2026-11-12 at 10.42.17")));
    EXPECT_FALSE(dotted.matches(QStringLiteral("axb 2026-11-12 at 10.42.17")));

    const IcuRegex blank(ScreenshotDetector::knownNamePattern(QStringLiteral(" \t")));
    EXPECT_FALSE(blank.matches(QStringLiteral(" 2026-11-12 at 10.42.17")));
}

bool setScreenCaptureAttribute(const QString &path)
{
    return lsetxattr(QFile::encodeName(path).constData(), "user.com.apple.metadata:kMDItemIsScreenCapture", "\x01", 1,
                     0) == 0;
}

TEST(ScreenshotDetectorTest, unknownPrefixNeedsAScreenCaptureMark)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG");
    const QString holiday = dir.write(QStringLiteral("Holiday 2026-11-12 at 10.42.17.png"), png);
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(holiday));
    if (!setScreenCaptureAttribute(holiday))
        GTEST_SKIP() << "the temporary folder's file system takes no user extended attributes";
    EXPECT_TRUE(ScreenshotDetector::looksLikeScreenshot(holiday));

    // The attribute never makes a name of another shape a screenshot, nor one with an over-long prefix.
    const QString other = dir.write(QStringLiteral("Holiday.png"), png);
    ASSERT_TRUE(setScreenCaptureAttribute(other));
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(other));
    const QString fortyOne = dir.write(QString(41, u'x') + QStringLiteral(" 2026-11-12 at 10.42.17.png"), png);
    const QString forty = dir.write(QString(40, u'x') + QStringLiteral(" 2026-11-12 at 10.42.17.png"), png);
    ASSERT_TRUE(setScreenCaptureAttribute(fortyOne));
    ASSERT_TRUE(setScreenCaptureAttribute(forty));
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(fortyOne));
    EXPECT_TRUE(ScreenshotDetector::looksLikeScreenshot(forty));

    // A link to a marked file is not marked itself.
    const QString link = dir.filePath(QStringLiteral("Trip 2026-11-12 at 10.42.17.png"));
    ASSERT_TRUE(QFile::link(holiday, link));
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(link));
}

TEST(ScreenshotDetectorTest, gnomeSoftwareChunkMarksAScreenshot)
{
    TempDir dir;
    // GNOME in a language whose words are not listed: the date-and-time shape plus the text chunk.
    const QString gnome = dir.write(QStringLiteral("Captura de ecrã de 2024-01-15 10-42-17.png"),
                                    encodedImage("PNG", QStringLiteral("gnome-screenshot")));
    const QString gimp = dir.write(QStringLiteral("Captura de ecrã de 2024-01-15 10-42-18.png"),
                                   encodedImage("PNG", QStringLiteral("gimp")));
    const QString plain = dir.write(QStringLiteral("Captura de ecrã de 2024-01-15 10-42-19.png"), encodedImage("PNG"));
    const QString wrongShape =
        dir.write(QStringLiteral("Holiday photo.png"), encodedImage("PNG", QStringLiteral("gnome-screenshot")));
    EXPECT_TRUE(ScreenshotDetector::hasScreenCaptureMark(gnome));
    EXPECT_TRUE(ScreenshotDetector::looksLikeScreenshot(gnome));
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(gimp));
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(plain));
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(wrongShape));

    // Truncated and bogus headers are read safely.
    const QByteArray bytes = encodedImage("PNG", QStringLiteral("gnome-screenshot"));
    const QString truncated = dir.write(QStringLiteral("t 2024-01-15 10-42-17.png"), bytes.left(40));
    EXPECT_FALSE(ScreenshotDetector::hasScreenCaptureMark(truncated));
    QByteArray hugeChunk = bytes.left(8) + QByteArray("\x7f\xff\xff\xfftEXt", 8);
    const QString bogus = dir.write(QStringLiteral("b 2024-01-15 10-42-17.png"), hugeChunk);
    EXPECT_FALSE(ScreenshotDetector::hasScreenCaptureMark(bogus));
}

// A file made now, with the clock set `seconds` after its creation.
struct AgedFile
{
    QString path;
    TestClock clock;
};

AgedFile agedFile(const TempDir &dir, const QString &name, qint64 seconds)
{
    const QString path = dir.write(name, encodedImage("PNG"));
    AgedFile file{path, TestClock()};
    const auto created = ScreenshotDetector::creationDate(path);
    EXPECT_TRUE(created.has_value());
    file.clock.set(created.value_or(QDateTime()).addSecs(seconds));
    return file;
}

TEST(ScreenshotDetectorTest, candidateAgeLimits)
{
    TempDir dir;
    const QString screenshot = QStringLiteral("Screenshot 2026-11-12 at 10.42.17.png");
    const QString photo = QStringLiteral("photo.png");
    using enum ProcessingScope;
    const struct
    {
        QString name;
        qint64 age;
        ProcessingScope scope;
        bool candidate;
    } cases[] = {
        {screenshot, 899, screenshots, true}, {screenshot, 900, screenshots, false},
        {screenshot, -60, screenshots, true}, {screenshot, 899, allImages, true},
        {photo, 119, allImages, true},        {photo, 120, allImages, false},
        {photo, 119, screenshots, false},     {photo, 0, screenshots, false},
    };
    for (const auto &c : cases) {
        const AgedFile file = agedFile(dir, c.name, c.age);
        EXPECT_EQ(ScreenshotDetector::isCandidate(file.path, c.scope, file.clock.now()), c.candidate)
            << c.name.toStdString() << " at " << c.age << " s";
    }
}

TEST(ScreenshotDetectorTest, onlyPlainImageFilesAreCandidates)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG");
    const QString target = dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17.png"), png);
    const QDateTime now = ScreenshotDetector::creationDate(target).value().addSecs(1);
    EXPECT_TRUE(ScreenshotDetector::isCandidate(target, ProcessingScope::allImages, now));

    const QString link = dir.filePath(QStringLiteral("Screenshot 2026-11-12 at 10.42.18.png"));
    ASSERT_TRUE(QFile::link(target, link));
    const QString broken = dir.filePath(QStringLiteral("Screenshot 2026-11-12 at 10.42.19.png"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone.png")), broken));
    const QString fifo = dir.filePath(QStringLiteral("Screenshot 2026-11-12 at 10.42.20.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.mkdir(QStringLiteral("Screenshot 2026-11-12 at 10.42.21.png"));

    const QString rejected[] = {
        link,
        broken,
        fifo,
        folder,
        dir.filePath(QStringLiteral("missing.png")),
        dir.write(QStringLiteral(".Screenshot 2026-11-12 at 10.42.17.png"), png),
        dir.write(QStringLiteral("~Screenshot 2026-11-12 at 10.42.17.png"), png),
        dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17.png.part"), png),
        dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17.png.download"), png),
        dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17.pdf"), png),
        dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17"), png),
    };
    for (const QString &path : rejected)
        EXPECT_FALSE(ScreenshotDetector::isCandidate(path, ProcessingScope::allImages, now)) << path.toStdString();

    const QString capitals = dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.22.PNG"), png);
    EXPECT_TRUE(ScreenshotDetector::isCandidate(capitals, ProcessingScope::screenshots, now));
}

TEST(ScreenshotDetectorTest, trailers)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG");
    const QByteArray jpeg = encodedImage("JPEG");
    ASSERT_GT(png.size(), 12);
    ASSERT_TRUE(jpeg.endsWith("\xFF\xD9"));
    QByteArray wrongCrc = png;
    wrongCrc[wrongCrc.size() - 1] = static_cast<char>(wrongCrc.at(wrongCrc.size() - 1) ^ 0x5A);
    QByteArray jpegWithJunk = jpeg + QByteArray(40, 'x');
    const struct
    {
        const char *name;
        QByteArray bytes;
        bool complete;
    } cases[] = {
        {"whole.png", png, true},
        {"wrong-crc.png", wrongCrc, true},
        {"cut.png", png.left(png.size() - 1), false},
        {"empty.png", {}, false},
        {"whole.jpg", jpeg, true},
        {"whole.JPEG", jpeg, true},
        {"junk-after-end.jpg", jpegWithJunk, true},
        {"cut.jpg", jpeg.left(jpeg.size() - 2), false},
        {"tiny.jpg", QByteArray("\xFF\xD8\xFF\xD9\xFF\xD9\xFF\xD9\xFF\xD9\xFF", 11), false},
        {"twelve.jpg", QByteArray("\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xFF\xD9", 12), true},
        {"garbage.gif", QByteArray("not an image"), true},
    };
    for (const auto &c : cases) {
        const QString path = dir.write(QString::fromUtf8(c.name), c.bytes);
        EXPECT_EQ(ScreenshotDetector::hasCompleteTrailer(path), c.complete) << c.name;
    }
    EXPECT_TRUE(ScreenshotDetector::hasCompleteTrailer(dir.filePath(QStringLiteral("missing.webp"))));
    EXPECT_FALSE(ScreenshotDetector::hasCompleteTrailer(dir.filePath(QStringLiteral("missing.png"))));
    EXPECT_FALSE(ScreenshotDetector::hasCompleteTrailer(dir.mkdir(QStringLiteral("folder.png"))));
    const QString fifo = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(ScreenshotDetector::hasCompleteTrailer(fifo)) << "a fifo must answer, not block";
}

TEST(ScreenshotDetectorTest, unreadableFileHasNoTrailer)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions";
    TempDir dir;
    const QString path = dir.write(QStringLiteral("locked.png"), encodedImage("PNG"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    EXPECT_FALSE(ScreenshotDetector::hasCompleteTrailer(path));
    EXPECT_FALSE(runTask(ScreenshotDetector::waitUntilComplete(path, 1s)));
}

TEST(ScreenshotDetectorTest, completeImagePassesAfterOneUnchangedPoll)
{
    TempDir dir;
    const QString path = dir.write(QStringLiteral("done.png"), encodedImage("PNG", {}, QSize(1200, 800)));
    QElapsedTimer elapsed;
    elapsed.start();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);
    EXPECT_TRUE(runTask(ScreenshotDetector::waitUntilComplete(path, 5s)));
    EXPECT_GE(elapsed.elapsed(), 300);
    EXPECT_LT(elapsed.elapsed(), 2000);
    EXPECT_GE(ticks, 4) << "the event loop must keep running while the file is polled";
}

TEST(ScreenshotDetectorTest, anImageWrittenEarlierPassesAtOnceButAnOldHalfWrittenOneDoesNot)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG", {}, QSize(800, 600));
    const QString done = dir.write(QStringLiteral("earlier.png"), png);
    const QString half = dir.write(QStringLiteral("half.png"), png.left(png.size() / 2));
    for (const QString &path : {done, half}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
    }
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_TRUE(runTask(ScreenshotDetector::waitUntilComplete(done, 5s)));
    EXPECT_LT(elapsed.elapsed(), 300) << "a file untouched for seconds needs no pause";
    EXPECT_FALSE(runTask(ScreenshotDetector::waitUntilComplete(half, 800ms))) << "its end marker is missing";
}

TEST(ScreenshotDetectorTest, fileStillBeingWrittenCompletesOnceWritten)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG", {}, QSize(800, 600));
    const QString path = dir.write(QStringLiteral("growing.png"), png.left(png.size() / 2));
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer::singleShot(900ms, [&] {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(png.mid(png.size() / 2));
    });
    EXPECT_TRUE(runTask(ScreenshotDetector::waitUntilComplete(path, 5s)));
    EXPECT_GE(elapsed.elapsed(), 900);
}

TEST(ScreenshotDetectorTest, filesThatNeverCompleteTimeOut)
{
    TempDir dir;
    QByteArray corrupt = encodedImage("PNG", {}, QSize(300, 200));
    // Damage the pixel data but keep the end marker: only decoding finds it.
    const qsizetype idat = corrupt.indexOf("IDAT");
    ASSERT_GT(idat, 0);
    for (qsizetype i = idat + 8; i < idat + 40; ++i)
        corrupt[i] = 'Z';
    const QString paths[] = {
        dir.write(QStringLiteral("empty.png"), {}),
        dir.write(QStringLiteral("corrupt.png"), corrupt),
        dir.write(QStringLiteral("text.bmp"), "not a bitmap at all"),
    };
    for (const QString &path : paths) {
        QElapsedTimer elapsed;
        elapsed.start();
        EXPECT_FALSE(runTask(ScreenshotDetector::waitUntilComplete(path, 1200ms))) << path.toStdString();
        EXPECT_GE(elapsed.elapsed(), 1200);
        EXPECT_LT(elapsed.elapsed(), 3000);
    }
}

TEST(ScreenshotDetectorTest, missingOrSpecialFilesFailAtOnce)
{
    TempDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString broken = dir.filePath(QStringLiteral("broken.png"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone.png")), broken));
    for (const QString &path : {fifo, broken, dir.filePath(QStringLiteral("missing.png"))}) {
        QElapsedTimer elapsed;
        elapsed.start();
        EXPECT_FALSE(runTask(ScreenshotDetector::waitUntilComplete(path, 5s))) << path.toStdString();
        EXPECT_LT(elapsed.elapsed(), 1000);
    }
}

TEST(ScreenshotDetectorTest, otherTypesNeedThreeUnchangedPolls)
{
    TempDir dir;
    const QString path = dir.write(QStringLiteral("picture.bmp"), encodedImage("BMP"));
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_TRUE(runTask(ScreenshotDetector::waitUntilComplete(path, 5s)));
    EXPECT_GE(elapsed.elapsed(), 3 * 350);
}

TEST(ScreenshotDetectorTest, existingScreenshotsOldestFirst)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG");
    const QString older = dir.write(QStringLiteral("Screenshot_20240115_104217.png"), png);
    std::this_thread::sleep_for(20ms);
    const QString newer = dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17.png"), png);
    dir.write(QStringLiteral("photo.png"), png);
    dir.write(QStringLiteral(".Screenshot 2026-11-12 at 10.42.18.png"), png);
    dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.19.pdf"), png);
    dir.write(QStringLiteral("sub/Screenshot 2026-11-12 at 10.42.20.png"), png);
    ASSERT_TRUE(QFile::link(newer, dir.filePath(QStringLiteral("Screenshot 2026-11-12 at 10.42.21.png"))));

    EXPECT_EQ(ScreenshotDetector::existingScreenshots(dir.path()), (QStringList{older, newer}));
    const QDateTime olderCreated = ScreenshotDetector::creationDate(older).value();
    EXPECT_EQ(ScreenshotDetector::screenshots(dir.path(), olderCreated), QStringList{newer});
    EXPECT_EQ(ScreenshotDetector::screenshots(dir.path(), olderCreated.addSecs(-1)), (QStringList{older, newer}));
    EXPECT_TRUE(ScreenshotDetector::existingScreenshots(dir.filePath(QStringLiteral("missing"))).isEmpty());
}

} // namespace
