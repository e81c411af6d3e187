// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PageBands.h"
#include "RenderedScreen.h"
#include "TesseractRecognizer.h"

#include <gtest/gtest.h>

#include <QTest>

#include <thread>

namespace {

TEST(TesseractEnginePoolTest, TwoEnginesReadTheBandsAsOneEngineDoes)
{
    QStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines << QStringLiteral("Line %1 of the quarterly report: revenue, costs and the outlook").arg(i);
    const QImage screen = renderedScreen(QStringLiteral("Quarterly budget review"), lines, QSize(1400, 800));
    ASSERT_EQ(PageBands::split(TesseractRecognizer::prepareForRecognition(screen), 2).size(), 2u);

    TesseractEnginePool one(1);
    TesseractEnginePool two(2);
    const TextRecognizer::Result alone = TesseractRecognizer(one, 2).recognize(screen);
    const TextRecognizer::Result together = TesseractRecognizer(two, 2).recognize(screen);
    ASSERT_FALSE(alone.error);
    ASSERT_GE(alone.observations.size(), 13u);
    EXPECT_EQ(alone.observations.front().text, "Quarterly budget review");
    EXPECT_TRUE(alone.observations == together.observations);
    EXPECT_EQ(one.loadedCount(), 1);
    EXPECT_EQ(two.loadedCount(), 2);
}

TEST(TesseractEnginePoolTest, LendsEnginesWithinItsLimitAndFreesThemWhenIdle)
{
    TesseractEnginePool pool(1, std::chrono::milliseconds(50));
    QString error;
    std::optional<TesseractEnginePool::Lease> lease = pool.acquire(error);
    ASSERT_TRUE(lease) << error.toStdString();
    EXPECT_FALSE(pool.tryAcquire());

    // A second caller waits for the engine instead of loading another.
    std::atomic<bool> served = false;
    std::thread waiting([&] {
        QString ignored;
        served = pool.acquire(ignored).has_value();
    });
    EXPECT_FALSE(served);
    lease.reset();
    waiting.join();
    EXPECT_TRUE(served);
    EXPECT_EQ(pool.loadedCount(), 1);

    EXPECT_TRUE(QTest::qWaitFor([&] { return pool.loadedCount() == 0; }, 10000));
    EXPECT_TRUE(pool.tryAcquire());
}

} // namespace
