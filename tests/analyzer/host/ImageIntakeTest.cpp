// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ImageIntake.h"
#include "CoroTest.h"
#include "TempDir.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {
QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : type + data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    QByteArray framing(8, '\0');
    qToBigEndian(quint32(data.size()), framing.data());
    qToBigEndian(~crc, framing.data() + 4);
    return framing.left(4) + type + data + framing.mid(4);
}

// A PNG of a few hundred bytes that declares a large RGBA image: all a header can promise.
QByteArray pngDeclaring(quint32 width, quint32 height, quint8 bitsPerChannel)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = char(bitsPerChannel);
    header[9] = 6; // RGBA
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", {}) + chunk("IEND", {});
}

std::optional<ImageIntake::Image> intake(int fd, MemoryBudget &budget)
{
    std::optional<ImageIntake::Image> image = runTask(ImageIntake::read(fd, budget));
    ::close(fd);
    return image;
}
} // namespace

TEST(MemoryBudget, SharesAreServedInArrivalOrderOnceTheyFit)
{
    MemoryBudget budget(100);
    MemoryBudget::Share first = runTask(budget.acquire(60));
    QList<int> served;
    std::optional<MemoryBudget::Share> second, third;
    const auto take = [&](qint64 bytes, std::optional<MemoryBudget::Share> &into, int id) -> QCoro::Task<void> {
        into = co_await budget.acquire(bytes);
        served.append(id);
    };
    QCoro::Task<void> large = take(50, second, 2);
    QCoro::Task<void> small = take(10, third, 3); // would fit now, but queues behind the larger request
    EXPECT_TRUE(served.isEmpty());
    EXPECT_EQ(budget.waiting(), 2);

    first = MemoryBudget::Share();
    runTask(std::move(large));
    runTask(std::move(small));
    EXPECT_EQ(served, (QList<int>{2, 3}));
    EXPECT_EQ(budget.held(), 60);
}

TEST(ImageIntake, ReadsRegularFilesWithinTheBudgetAndRefusesEverythingElse)
{
    TempDir dir;
    MemoryBudget budget;
    const auto open = [&](const char *name, const QByteArray &bytes) {
        return ::open(QFile::encodeName(dir.write(QString::fromLatin1(name), bytes)).constData(), O_RDONLY);
    };

    const QByteArray shot = pngDeclaring(1920, 1080, 8);
    const std::optional<ImageIntake::Image> image = intake(open("shot.png", shot), budget);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bytes, shot);
    EXPECT_GE(image->share.bytes(), qint64(1920) * 1080 * 4);
    EXPECT_EQ(budget.held(), image->share.bytes());

    // 8 bits a channel decode in 4 bytes a pixel and fit; the same size at 16 bits takes 0.6 GB and never would.
    EXPECT_TRUE(intake(open("wide.png", pngDeclaring(6300, 6300, 8)), budget));
    EXPECT_FALSE(intake(open("deep.png", pngDeclaring(6300, 6300, 16)), budget));
    EXPECT_TRUE(intake(open("scroll.png", pngDeclaring(1920, 80000, 8)), budget)) << "only its top is decoded";
    EXPECT_FALSE(
        intake(open("drawing.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="9" height="9"/>)"), budget));
    // A pipe whose writer never writes is refused at once instead of holding a worker.
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    EXPECT_FALSE(intake(pipe[0], budget));
    ::close(pipe[1]);
    EXPECT_EQ(budget.held(), image->share.bytes()) << "refusals hold nothing";
}
