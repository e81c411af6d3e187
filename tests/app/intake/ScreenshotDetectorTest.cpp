// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenshotDetector.h"

#include "CoroTest.h"
#include "IcuRegex.h"
#include "ImageBytes.h"
#include "TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

TEST(ScreenshotDetectorTest, looksLikeScreenshotByNameAlone)
{
    const char *screenshots[] = {
        // The system's own names, translated, numbered, at double scale.
        "Screenshot 2026-11-12 at 10.42.17.png", "Screenshot 2026-11-12 at 10.42.17 (2).png",
        "Screen Shot 2026-11-12 at 9.05.01 PM.png", "Captura de pantalla 2026-11-12 a las 9.05.01 p. m..png",
        "Screenshot 2026-11-12 at 10.42.17@2x.png", "СНИМОК ЭКРАНА 2026-11-12 В 10.42.17.png",
        "ΣΤΙΓΜΙΌΤΥΠΟ ΟΘΌΝΗΣ 2026-11-12 10.42.17.png", "Capture d’écran 2026-11-12 à 10.42.17.png",
        // GNOME, Spectacle, XFCE Screenshooter, ksnip, grim old and new, Deepin, Flameshot.
        "Screenshot From 2024-01-15 10-42-17.png", "Screenshot from 2024-01-15 10-42-17 - 2.png",
        "снимок экрана от 2024-01-15 10-42-17-3.png", "2024-01-15 10-42-17屏幕截图.png",
        "Bildschirmfoto_20240115_104217-1.png", "Capture d’écran_2024-01-15_10-42-17-1.png",
        "ksnip_20240115-104217(2).png", "20240115_10h42m17s_grim.png", "2024-01-15T10:42:17Z_grim.png",
        "Screenshot_20240115104217.png", "Screenshot_Some window_title_20240115104217.png", "2024-01-15_10-42_1.png"};
    const char *others[] = {// Other prefixes, missing times, additions after the time.
                            "Holiday 2026-11-12 at 10.42.17.png", "Screenshot 2026-11-12.png",
                            "Screenshot 2026-11-12 at 10.42.17 copy.png", "My Screenshot 2026-11-12 at 10.42.17.png",
                            "Screenshot 2026-11-12 at 10.42.17.png.png",
                            // The tools' shapes cut short or bent, and cameras' names.
                            "Screenshot from 2024-01-15 10-42.png", "Holiday_20240115_104217.png",
                            "Screenshot_20240115_1042.png", "ksnip_20240115_104217.png", "20240115_10h42m17s.png",
                            "Screenshot_2024011510421.png", "2024-01-15.png", "IMG_20240115_104217.jpg"};
    // The files do not exist, so no attribute can help: the answer comes from the name.
    TempDir dir;
    for (const char *name : screenshots)
        EXPECT_TRUE(ScreenshotDetector::looksLikeScreenshot(dir.filePath(QString::fromUtf8(name)))) << name;
    for (const char *name : others)
        EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(dir.filePath(QString::fromUtf8(name)))) << name;
}

TEST(ScreenshotDetectorTest, customPrefixIsTrimmedAndQuoted)
{
    const IcuRegex withPrefix(ScreenshotDetector::knownNamePattern(QStringLiteral(" My (Shots)\t ")));
    for (const auto &[name, matches] : {std::pair{"My (Shots) 2026-11-12 at 10.42.17", true},
                                        {"my (shots) 2026-11-12 at 10.42.17", true},
                                        {"Screenshot 2026-11-12 at 10.42.17", true},
                                        {"My Shots 2026-11-12 at 10.42.17", false},
                                        {" My (Shots)  x 2026-11-12 at 10.42.17", false}})
        EXPECT_EQ(withPrefix.matches(QString::fromUtf8(name)), matches) << name;

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
    for (const auto &[name, screenshot] : {std::pair{QStringLiteral("Holiday.png"), false},
                                           {QString(41, u'x') + QStringLiteral(" 2026-11-12 at 10.42.17.png"), false},
                                           {QString(40, u'x') + QStringLiteral(" 2026-11-12 at 10.42.17.png"), true}}) {
        const QString path = dir.write(name, png);
        ASSERT_TRUE(setScreenCaptureAttribute(path));
        EXPECT_EQ(ScreenshotDetector::looksLikeScreenshot(path), screenshot) << name.toStdString();
    }

    // A link to a marked file is not marked itself.
    const QString link = dir.filePath(QStringLiteral("Trip 2026-11-12 at 10.42.17.png"));
    ASSERT_TRUE(QFile::link(holiday, link));
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(link));
}

TEST(ScreenshotDetectorTest, gnomeSoftwareChunkMarksAScreenshot)
{
    TempDir dir;
    // GNOME in a language whose words are not listed: the date-and-time shape plus the text chunk.
    const QByteArray bytes = encodedImage("PNG", QStringLiteral("gnome-screenshot"));
    const QString gnome = dir.write(QStringLiteral("Captura de ecrã de 2024-01-15 10-42-17.png"), bytes);
    EXPECT_TRUE(ScreenshotDetector::hasScreenCaptureMark(gnome));
    EXPECT_TRUE(ScreenshotDetector::looksLikeScreenshot(gnome));
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(
        dir.write(QStringLiteral("Captura de ecrã de 2024-01-15 10-42-19.png"), encodedImage("PNG"))));
    EXPECT_FALSE(ScreenshotDetector::looksLikeScreenshot(dir.write(QStringLiteral("Holiday photo.png"), bytes)));

    // Truncated and bogus headers are read safely.
    for (const QByteArray &broken : {bytes.left(40), bytes.left(8) + QByteArray("\x7f\xff\xff\xfftEXt", 8)})
        EXPECT_FALSE(ScreenshotDetector::hasScreenCaptureMark(dir.write(QStringLiteral("t.png"), broken)));
}

TEST(ScreenshotDetectorTest, candidatesAreFreshPlainImageFiles)
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
        {screenshot, -60, screenshots, true}, {photo, 119, allImages, true},
        {photo, 120, allImages, false},       {photo, 0, screenshots, false},
    };
    for (const auto &c : cases) {
        const QString path = dir.write(c.name, encodedImage("PNG"));
        const std::optional<QDateTime> created = ScreenshotDetector::creationDate(path);
        ASSERT_TRUE(created);
        EXPECT_EQ(ScreenshotDetector::isCandidate(path, c.scope, created->addSecs(c.age)), c.candidate)
            << c.name.toStdString() << " at " << c.age << " s";
    }

    // Only plain image files are candidates.
    const QByteArray png = encodedImage("PNG");
    const QString target = dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.22.PNG"), png);
    const QDateTime now = ScreenshotDetector::creationDate(target).value().addSecs(1);
    EXPECT_TRUE(ScreenshotDetector::isCandidate(target, ProcessingScope::screenshots, now));

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
        dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17.png.part"), png),
        dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17.pdf"), png),
        dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17"), png),
    };
    for (const QString &path : rejected)
        EXPECT_FALSE(ScreenshotDetector::isCandidate(path, ProcessingScope::allImages, now)) << path.toStdString();
}

TEST(ScreenshotDetectorTest, trailers)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG");
    const QByteArray jpeg = encodedImage("JPEG");
    ASSERT_TRUE(jpeg.endsWith("\xFF\xD9"));
    QByteArray wrongCrc = png;
    wrongCrc[wrongCrc.size() - 1] = static_cast<char>(wrongCrc.at(wrongCrc.size() - 1) ^ 0x5A);
    const struct
    {
        const char *name;
        QByteArray bytes;
        bool complete;
    } cases[] = {
        {"whole.png", png, true},
        {"wrong-crc.png", wrongCrc, true},
        {"cut.png", png.left(png.size() - 1), false},
        {"whole.JPEG", jpeg, true},
        {"junk-after-end.jpg", jpeg + QByteArray(40, 'x'), true},
        {"cut.jpg", jpeg.left(jpeg.size() - 2), false},
        {"tiny.jpg", QByteArray("\xFF\xD8\xFF\xD9\xFF\xD9\xFF\xD9\xFF\xD9\xFF", 11), false},
        {"twelve.jpg", QByteArray("\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xFF\xD9", 12), true},
        {"garbage.gif", QByteArray("not an image"), true},
    };
    for (const auto &c : cases) {
        const QString path = dir.write(QString::fromUtf8(c.name), c.bytes);
        EXPECT_EQ(ScreenshotDetector::hasCompleteTrailer(path), c.complete) << c.name;
    }
    const QString fifo = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(ScreenshotDetector::hasCompleteTrailer(fifo)) << "a fifo must answer, not block";
    EXPECT_TRUE(ScreenshotDetector::hasCompleteTrailer(dir.filePath(QStringLiteral("missing.webp"))));
    EXPECT_FALSE(ScreenshotDetector::hasCompleteTrailer(dir.filePath(QStringLiteral("missing.png"))));
    EXPECT_FALSE(ScreenshotDetector::hasCompleteTrailer(dir.mkdir(QStringLiteral("folder.png"))));
}

TEST(ScreenshotDetectorTest, waitsAsLongAsEachKindOfFileNeeds)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG", {}, QSize(800, 600));
    const QString earlier = dir.write(QStringLiteral("earlier.png"), png);
    const QString half = dir.write(QStringLiteral("half.png"), png.left(png.size() / 2));
    for (const QString &path : {earlier, half}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
    }
    // Damaged pixel data but an intact end marker: only decoding finds it.
    QByteArray corrupt = encodedImage("PNG", {}, QSize(300, 200));
    corrupt.replace(corrupt.indexOf("IDAT") + 8, 32, QByteArray(32, 'Z'));
    const QString fifo = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString broken = dir.filePath(QStringLiteral("broken.png"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone.png")), broken));
    const struct
    {
        QString path;
        std::chrono::milliseconds timeout;
        bool complete;
        qint64 atLeastMs, belowMs;
    } cases[] = {
        // A fresh PNG passes after one unchanged poll, other types after three; one untouched for seconds at once.
        {dir.write(QStringLiteral("done.png"), encodedImage("PNG", {}, QSize(1200, 800))), 5s, true, 300, 2000},
        {dir.write(QStringLiteral("picture.bmp"), encodedImage("BMP")), 5s, true, 3 * 350, 5000},
        {earlier, 5s, true, 0, 300},
        // Files that never complete time out; an old one is still checked for its end marker.
        {half, 800ms, false, 0, 3000},
        {dir.write(QStringLiteral("empty.png"), {}), 1200ms, false, 1200, 3000},
        {dir.write(QStringLiteral("corrupt.png"), corrupt), 1200ms, false, 1200, 3000},
        {dir.write(QStringLiteral("text.bmp"), "not a bitmap at all"), 1200ms, false, 1200, 3000},
        // Missing and special files fail at once.
        {fifo, 5s, false, 0, 1000},
        {broken, 5s, false, 0, 1000},
        {dir.filePath(QStringLiteral("missing.png")), 5s, false, 0, 1000},
    };
    for (const auto &c : cases) {
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(50);
        QElapsedTimer elapsed;
        elapsed.start();
        EXPECT_EQ(runTask(ScreenshotDetector::waitUntilComplete(c.path, c.timeout)), c.complete)
            << c.path.toStdString();
        EXPECT_GE(elapsed.elapsed(), c.atLeastMs) << c.path.toStdString();
        EXPECT_LT(elapsed.elapsed(), c.belowMs) << c.path.toStdString();
        EXPECT_GE(ticks, c.atLeastMs / 75) << "the event loop must keep running while the file is polled";
    }
    if (geteuid() != 0) { // root reads files whatever their permissions
        const QString locked = dir.write(QStringLiteral("locked.png"), encodedImage("PNG"));
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::Permissions()));
        EXPECT_FALSE(ScreenshotDetector::hasCompleteTrailer(locked));
        EXPECT_FALSE(runTask(ScreenshotDetector::waitUntilComplete(locked, 1s)));
    }
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
