// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenshotDetector.h"

#include "CoroTest.h"
#include "IcuRegex.h"
#include "TempDir.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>

using namespace std::chrono_literals;
using namespace ScreenshotDetector;

namespace {

// A real encoded image, optionally with the text chunk some tools write.
QByteArray encodedImage(const char *format, const QString &software = {}, QSize size = QSize(96, 64))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).fillRect(QRect(QPoint(4, 4), size / 2), Qt::darkBlue);
    if (!software.isEmpty())
        image.setText(QStringLiteral("Software"), software);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

bool markAsScreenCapture(const QString &path)
{
    return lsetxattr(QFile::encodeName(path).constData(), "user.com.apple.metadata:kMDItemIsScreenCapture", "\x01", 1,
                     0) == 0;
}

QString fifo(const TempDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    EXPECT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
}

TEST(ScreenshotDetectorTest, looksLikeScreenshotByNameAloneOrWithACustomPrefix)
{
    const char *screenshots[] = {
        // The system's own names, translated, numbered, at double scale.
        "Screenshot 2026-11-12 at 10.42.17.png", "Screenshot 2026-11-12 at 10.42.17 (2).png",
        "Screen Shot 2026-11-12 at 9.05.01 PM.png", "Captura de pantalla 2026-11-12 a las 9.05.01 p. m..png",
        "Screenshot 2026-11-12 at 10.42.17@2x.png", "СНИМОК ЭКРАНА 2026-11-12 В 10.42.17.png",
        // The Linux tools' names, one of each shape.
        "Screenshot from 2024-01-15 10-42-17 - 2.png", "снимок экрана от 2024-01-15 10-42-17-3.png",
        "2024-01-15 10-42-17屏幕截图.png", "Bildschirmfoto_20240115_104217-1.png",
        "Capture d’écran_2024-01-15_10-42-17-1.png", "ksnip_20240115-104217(2).png", "20240115_10h42m17s_grim.png",
        "2024-01-15T10:42:17Z_grim.png", "Screenshot_20240115104217.png", "Screenshot_Some window_20240115104217.png",
        "2024-01-15_10-42_1.png"};
    const char *others[] = {// Unknown or misplaced prefixes, additions, shapes cut short, cameras' names.
                            "Holiday 2026-11-12 at 10.42.17.png",
                            "Screenshot 2026-11-12.png",
                            "Screenshot 2026-11-12 at 10.42.17 copy.png",
                            "My Screenshot 2026-11-12 at 10.42.17.png",
                            "Screenshot 2026-11-12 at 10.42.17.png.png",
                            "Screenshot from 2024-01-15 10-42.png",
                            "Screenshot_20240115_1042.png",
                            "20240115_10h42m17s.png",
                            "Screenshot_2024011510421.png",
                            "IMG_20240115_104217.jpg"};
    // The files do not exist, so no mark can help.
    TempDir dir;
    for (const char *name : screenshots)
        EXPECT_TRUE(looksLikeScreenshot(dir.filePath(QString::fromUtf8(name)))) << name;
    for (const char *name : others)
        EXPECT_FALSE(looksLikeScreenshot(dir.filePath(QString::fromUtf8(name)))) << name;

    const IcuRegex withPrefix(knownNamePattern(QStringLiteral(" My (Shots)\t ")));
    for (const auto &[name, matches] : {std::pair{"my (shots) 2026-11-12 at 10.42.17", true},
                                        {"Screenshot 2026-11-12 at 10.42.17", true},
                                        {"My Shots 2026-11-12 at 10.42.17", false},
                                        {" My (Shots)  x 2026-11-12 at 10.42.17", false}})
        EXPECT_EQ(withPrefix.matches(QString::fromUtf8(name)), matches) << name;
    EXPECT_FALSE(IcuRegex(knownNamePattern(QStringLiteral(" \t"))).matches(QStringLiteral(" 2026-11-12 at 10.42.17")));
}

TEST(ScreenshotDetectorTest, anUnknownPrefixNeedsAScreenCaptureMark)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG");
    // GNOME in a language whose words are not listed: the date-and-time shape plus the text chunk.
    const QByteArray gnome = encodedImage("PNG", QStringLiteral("gnome-screenshot"));
    EXPECT_TRUE(looksLikeScreenshot(dir.write(QStringLiteral("Captura de ecrã de 2024-01-15 10-42-17.png"), gnome)));
    EXPECT_FALSE(looksLikeScreenshot(dir.write(QStringLiteral("Captura de ecrã de 2024-01-15 10-42-19.png"), png)));
    EXPECT_FALSE(looksLikeScreenshot(dir.write(QStringLiteral("Holiday photo.png"), gnome)));
    // Truncated and bogus headers are read safely.
    for (const QByteArray &broken : {gnome.left(40), gnome.left(8) + QByteArray("\x7f\xff\xff\xfftEXt", 8)})
        EXPECT_FALSE(hasScreenCaptureMark(dir.write(QStringLiteral("t.png"), broken)));

    const QString holiday = dir.write(QStringLiteral("Holiday 2026-11-12 at 10.42.17.png"), png);
    if (!markAsScreenCapture(holiday))
        GTEST_SKIP() << "the temporary folder's file system takes no user extended attributes";
    EXPECT_TRUE(looksLikeScreenshot(holiday));
    // The mark never makes a name of another shape a screenshot, nor one with an over-long prefix.
    for (const auto &[name, screenshot] : {std::pair{QStringLiteral("Holiday.png"), false},
                                           {QString(41, u'x') + QStringLiteral(" 2026-11-12 at 10.42.17.png"), false},
                                           {QString(40, u'x') + QStringLiteral(" 2026-11-12 at 10.42.17.png"), true}}) {
        const QString path = dir.write(name, png);
        ASSERT_TRUE(markAsScreenCapture(path));
        EXPECT_EQ(looksLikeScreenshot(path), screenshot) << name.toStdString();
    }
    // A link to a marked file is not marked itself.
    const QString link = dir.filePath(QStringLiteral("Trip 2026-11-12 at 10.42.17.png"));
    ASSERT_TRUE(QFile::link(holiday, link));
    EXPECT_FALSE(looksLikeScreenshot(link));
}

TEST(ScreenshotDetectorTest, candidatesAndExistingScreenshotsArePlainImageFiles)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG");
    const QString screenshot = QStringLiteral("Screenshot_20240115_104217.png");
    const std::tuple<QString, qint64, ProcessingScope, bool> cases[] = {
        {screenshot, 899, ProcessingScope::screenshots, true}, {screenshot, 900, ProcessingScope::screenshots, false},
        {screenshot, -60, ProcessingScope::screenshots, true}, {"photo.png", 119, ProcessingScope::allImages, true},
        {"photo.png", 120, ProcessingScope::allImages, false}, {"photo.png", 0, ProcessingScope::screenshots, false},
    };
    for (const auto &[name, age, scope, candidate] : cases) {
        const QString path = dir.write(name, png);
        EXPECT_EQ(isCandidate(path, scope, creationDate(path).value().addSecs(age)), candidate)
            << name.toStdString() << " at " << age << " s";
    }

    std::this_thread::sleep_for(20ms); // a later creation date
    const QString newer = dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.22.PNG"), png);
    const QDateTime now = creationDate(newer).value().addSecs(1);
    EXPECT_TRUE(isCandidate(newer, ProcessingScope::screenshots, now));
    const QString link = dir.filePath(QStringLiteral("Screenshot 2026-11-12 at 10.42.18.png"));
    ASSERT_TRUE(QFile::link(newer, link));
    const QString rejected[] = {
        link,
        fifo(dir, QStringLiteral("Screenshot 2026-11-12 at 10.42.20.png")),
        dir.mkdir(QStringLiteral("Screenshot 2026-11-12 at 10.42.21.png")),
        dir.filePath(QStringLiteral("missing.png")),
        dir.write(QStringLiteral(".Screenshot 2026-11-12 at 10.42.17.png"), png),
        dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17.png.part"), png),
        dir.write(QStringLiteral("Screenshot 2026-11-12 at 10.42.17.pdf"), png),
    };
    for (const QString &path : rejected)
        EXPECT_FALSE(isCandidate(path, ProcessingScope::allImages, now)) << path.toStdString();

    // Screenshots already in a folder, oldest first; links, other files and subfolders are left out.
    dir.write(QStringLiteral("sub/Screenshot 2026-11-12 at 10.42.23.png"), png);
    const QString older = dir.filePath(screenshot);
    EXPECT_EQ(existingScreenshots(dir.path()), (QStringList{older, newer}));
    const QDateTime olderCreated = creationDate(older).value();
    EXPECT_EQ(screenshots(dir.path(), olderCreated), QStringList{newer});
    EXPECT_EQ(screenshots(dir.path(), olderCreated.addSecs(-1)), (QStringList{older, newer}));
    EXPECT_TRUE(existingScreenshots(dir.filePath(QStringLiteral("missing"))).isEmpty());
}

TEST(ScreenshotDetectorTest, trailersOfPngAndJpegAreChecked)
{
    TempDir dir;
    const QByteArray png = encodedImage("PNG");
    const QByteArray jpeg = encodedImage("JPEG");
    QByteArray wrongCrc = png;
    wrongCrc[wrongCrc.size() - 1] = static_cast<char>(wrongCrc.at(wrongCrc.size() - 1) ^ 0x5A);
    const std::tuple<const char *, QByteArray, bool> cases[] = {
        // A PNG's end chunk is told by its type, not its checksum; a JPEG's end marker may be followed by padding.
        {"whole.png", png, true},
        {"wrong-crc.png", wrongCrc, true},
        {"cut.png", png.chopped(1), false},
        {"junk-after-end.JPEG", jpeg + QByteArray(40, 'x'), true},
        {"cut.jpg", jpeg.chopped(2), false},
        {"tiny.jpg", QByteArray("\xFF\xD8\xFF\xD9\xFF\xD9\xFF\xD9\xFF\xD9\xFF", 11), false},
        {"twelve.jpg", QByteArray(10, '\0') + "\xFF\xD9", true},
        {"garbage.gif", "not an image", true}};
    for (const auto &[name, bytes, complete] : cases)
        EXPECT_EQ(hasCompleteTrailer(dir.write(QString::fromUtf8(name), bytes)), complete) << name;
    EXPECT_FALSE(hasCompleteTrailer(fifo(dir, QStringLiteral("pipe.png")))) << "a fifo must answer, not block";
    EXPECT_TRUE(hasCompleteTrailer(dir.filePath(QStringLiteral("missing.webp"))));
    EXPECT_FALSE(hasCompleteTrailer(dir.filePath(QStringLiteral("missing.png"))));
    EXPECT_FALSE(hasCompleteTrailer(dir.mkdir(QStringLiteral("folder.png"))));
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
    const std::tuple<QString, std::chrono::milliseconds, bool, qint64, qint64> cases[] = {
        // A fresh PNG passes after one unchanged poll, other types after three; one untouched for seconds at once.
        {dir.write(QStringLiteral("done.png"), encodedImage("PNG", {}, QSize(1200, 800))), 5s, true, 300, 2000},
        {dir.write(QStringLiteral("picture.bmp"), encodedImage("BMP")), 5s, true, 3 * 350, 5000},
        {earlier, 5s, true, 0, 300},
        // Files that never complete time out; an old one is still checked for its end marker.
        {half, 800ms, false, 0, 3000},
        {dir.write(QStringLiteral("empty.png"), {}), 1200ms, false, 1200, 3000},
        {dir.write(QStringLiteral("corrupt.png"), corrupt), 1200ms, false, 1200, 3000},
        // Missing and special files fail at once.
        {fifo(dir, QStringLiteral("pipe.png")), 5s, false, 0, 1000},
        {dir.filePath(QStringLiteral("missing.png")), 5s, false, 0, 1000},
    };
    for (const auto &[path, timeout, complete, atLeastMs, belowMs] : cases) {
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(50);
        QElapsedTimer elapsed;
        elapsed.start();
        EXPECT_EQ(runTask(waitUntilComplete(path, timeout)), complete) << path.toStdString();
        EXPECT_GE(elapsed.elapsed(), atLeastMs) << path.toStdString();
        EXPECT_LT(elapsed.elapsed(), belowMs) << path.toStdString();
        EXPECT_GE(ticks, atLeastMs / 75) << "the event loop must keep running while the file is polled";
    }
    if (geteuid() != 0) { // root reads files whatever their permissions
        const QString locked = dir.write(QStringLiteral("locked.png"), encodedImage("PNG"));
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::Permissions()));
        EXPECT_FALSE(hasCompleteTrailer(locked));
        EXPECT_FALSE(runTask(waitUntilComplete(locked, 1s)));
    }

    // A file still being written completes once it is whole.
    const QString growing = dir.write(QStringLiteral("growing.png"), png.left(png.size() / 2));
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer::singleShot(900ms, [&] {
        QFile file(growing);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(png.mid(png.size() / 2));
    });
    EXPECT_TRUE(runTask(waitUntilComplete(growing, 5s)));
    EXPECT_GE(elapsed.elapsed(), 900);
}

} // namespace
