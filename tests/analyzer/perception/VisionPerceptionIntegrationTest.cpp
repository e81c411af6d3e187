// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PageBands.h"
#include "RenderedScreen.h"
#include "TesseractRecognizer.h"
#include "VisionPerception.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTest>

#include <algorithm>
#include <thread>

namespace {

// ctest lists the cases by running the binary without the tests' environment; without a display that listing
// would abort in QGuiApplication, so the headless platform is chosen before main() when none is set.
const bool headless = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

ScreenshotFeatures features(const PerceptionResult &result)
{
    if (const auto *error = std::get_if<PerceptionError>(&result)) {
        ADD_FAILURE() << "recognition failed: " << error->detail.toStdString();
        return {};
    }
    return std::get<ScreenshotFeatures>(result);
}

// Recognition through the same path the service takes: encoded bytes, decoding, analysis.
ScreenshotFeatures perceive(const VisionPerception &perception, const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QImage decoded = VisionPerception::loadImage(bytes, VisionPerception::recognitionPixelSize);
    EXPECT_FALSE(decoded.isNull());
    return features(perception.analyze(decoded, true));
}

// The recognised lines match the expected ones in order, allowing a recognition slip in one character of twenty.
void expectLines(const ScreenshotFeatures &features, const QStringList &expected)
{
    QStringList found;
    for (const auto &line : features.lines)
        found.append(line.text);
    ASSERT_EQ(found.size(), expected.size()) << found.join(" | ").toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QString &a = found[i], &b = expected[i];
        std::vector<int> previous(b.size() + 1), current(b.size() + 1);
        for (qsizetype j = 0; j <= b.size(); ++j)
            previous[j] = int(j);
        for (qsizetype k = 1; k <= a.size(); ++k) {
            current[0] = int(k);
            for (qsizetype j = 1; j <= b.size(); ++j)
                current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[k - 1] != b[j - 1])});
            std::swap(previous, current);
        }
        EXPECT_LE(previous[b.size()], b.size() / 20) << a.toStdString() << " vs " << b.toStdString();
    }
}

const QStringList englishLines{"Quarterly budget review", "Approve the marketing plan before Friday",
                               "Customer satisfaction improved in October",
                               "Open the attached spreadsheet for details"};
const QStringList russianLines{"Отчёт о продажах за квартал", "Утвердить план маркетинга до пятницы",
                               "Удовлетворённость клиентов выросла", "Подробности в приложенной таблице"};

// Both scripts, both polarities, at once: the engines are shared between threads.
TEST(VisionPerceptionIntegrationTest, ReadsLightAndDarkScreensInBothScriptsConcurrently)
{
    const VisionPerception perception;
    perception.warmUp();
    QImage russian = renderedScreen(russianLines.front(), russianLines.mid(1), QSize(1280, 800));
    russian.invertPixels();
    PerceptionResult second;
    std::thread other([&] { second = perception.analyze(russian, true); });
    const ScreenshotFeatures english =
        perceive(perception, renderedScreen(englishLines.front(), englishLines.mid(1), QSize(1280, 800)));
    other.join();

    expectLines(english, englishLines);
    EXPECT_EQ(english.language, std::optional<QString>("en"));
    EXPECT_EQ(QSize(english.pixelWidth, english.pixelHeight), QSize(1280, 800));
    EXPECT_FALSE(english.mainColumnCount.has_value());
    for (const auto &line : english.lines) {
        EXPECT_GT(line.confidence, 0.7);
        EXPECT_NEAR(line.left, 80.0 / 1280, 0.01);
    }
    expectLines(features(second), russianLines);
    EXPECT_EQ(features(second).language, std::optional<QString>("ru"));

    QImage blank(320, 120, QImage::Format_RGB888);
    blank.fill(Qt::white);
    const ScreenshotFeatures nothing = features(perception.analyze(blank, true));
    EXPECT_TRUE(nothing.lines.empty());
    EXPECT_FALSE(nothing.language.has_value());

    // A scrolling capture 1920 × 22000 (42 megapixels) is read from its top, where its heading is legible.
    QStringList entries;
    for (int i = 0; i < 540; ++i)
        entries.append(QStringLiteral("Entry %1 of the changelog describes one fixed problem").arg(i + 1));
    const ScreenshotFeatures scroll =
        perceive(perception, renderedScreen(QStringLiteral("Release notes archive"), entries, QSize(1920, 22000)));
    ASSERT_FALSE(scroll.lines.empty());
    EXPECT_EQ(scroll.lines.front().text, QStringLiteral("Release notes archive"));
}

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
    std::thread waiting([&] { served = pool.acquire(error).has_value(); });
    EXPECT_FALSE(served);
    lease.reset();
    waiting.join();
    EXPECT_TRUE(served);
    EXPECT_EQ(pool.loadedCount(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pool.loadedCount() == 0; }, 10000));
    EXPECT_TRUE(pool.tryAcquire());
}

} // namespace
