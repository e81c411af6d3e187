// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RenderedScreen.h"
#include "VisionPerception.h"

#include <gtest/gtest.h>

#include <QBuffer>

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

int editDistance(const QString &a, const QString &b)
{
    std::vector<int> previous(b.size() + 1);
    std::vector<int> current(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        previous[j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= b.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// The recognised lines match the expected ones in order, allowing a recognition slip in one character of twenty.
void expectLines(const ScreenshotFeatures &features, const QStringList &expected)
{
    QStringList found;
    for (const auto &line : features.lines)
        found.append(line.text);
    ASSERT_EQ(found.size(), expected.size()) << found.join(" | ").toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_LE(editDistance(found[i], expected[i]), expected[i].size() / 20)
            << found[i].toStdString() << " vs " << expected[i].toStdString();
}

const QStringList englishLines{"Quarterly budget review", "Approve the marketing plan before Friday",
                               "Customer satisfaction improved in October",
                               "Open the attached spreadsheet for details"};
const QStringList russianLines{"Отчёт о продажах за квартал", "Утвердить план маркетинга до пятницы",
                               "Удовлетворённость клиентов выросла", "Подробности в приложенной таблице"};

QImage screen(const QStringList &lines, bool dark = false)
{
    QImage image = renderedScreen(lines.front(), lines.mid(1), QSize(1280, 800));
    if (dark)
        image.invertPixels();
    return image;
}

// Both scripts, both polarities, at once: the engines are shared between threads.
TEST(VisionPerceptionIntegrationTest, ReadsLightAndDarkScreensInBothScriptsConcurrently)
{
    const VisionPerception perception;
    perception.warmUp();
    const QImage russian = screen(russianLines, true);
    PerceptionResult second;
    std::thread other([&] { second = perception.analyze(russian, true); });
    const ScreenshotFeatures english = perceive(perception, screen(englishLines));
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
}

} // namespace
