// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "VisionPerception.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFont>
#include <QPainter>

#include <algorithm>
#include <thread>

namespace {

// ctest lists the cases by running the binary without the tests' environment; without a display that listing
// would abort in QGuiApplication, so the headless platform is chosen before main() when none is set.
const bool headless = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return true;
}();

struct Text
{
    QString text;
    int x;
    int y;
    int pixelSize = 22;
};

QImage render(QSize size, bool dark, const std::vector<Text> &texts)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(dark ? QColor(30, 31, 36) : QColor(250, 250, 250));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(dark ? QColor(225, 226, 230) : QColor(25, 25, 30));
    for (const Text &t : texts) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(t.pixelSize);
        painter.setFont(font);
        painter.drawText(t.x, t.y, t.text);
    }
    painter.end();
    return image;
}

// Recognition through the same path the service takes: encoded bytes, decoding, analysis.
ScreenshotFeatures perceive(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QImage decoded = VisionPerception::loadImage(bytes, VisionPerception::recognitionPixelSize);
    EXPECT_FALSE(decoded.isNull());
    const VisionPerception perception;
    PerceptionResult result = perception.analyze(decoded, true);
    if (const auto *error = std::get_if<PerceptionError>(&result)) {
        ADD_FAILURE() << "recognition failed: " << error->detail.toStdString();
        return {};
    }
    return std::get<ScreenshotFeatures>(std::move(result));
}

int editDistance(const QString &a, const QString &b)
{
    std::vector<int> previous(b.size() + 1);
    std::vector<int> current(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j) {
        previous[j] = static_cast<int>(j);
    }
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// The recognised lines match the expected ones in order, allowing a recognition slip in one character of twenty.
void expectLines(const ScreenshotFeatures &features, const QStringList &expected)
{
    QStringList found;
    for (const auto &line : features.lines) {
        found.append(line.text);
    }
    ASSERT_EQ(found.size(), expected.size()) << found.join(" | ").toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_LE(editDistance(found[i], expected[i]), expected[i].size() / 20)
            << found[i].toStdString() << " vs " << expected[i].toStdString();
    }
}

const QStringList englishLines{
    "Quarterly budget review",
    "Approve the marketing plan before Friday",
    "Customer satisfaction improved in October",
    "Open the attached spreadsheet for details",
};

const QStringList russianLines{
    "Отчёт о продажах за квартал",
    "Утвердить план маркетинга до пятницы",
    "Удовлетворённость клиентов выросла",
    "Подробности в приложенной таблице",
};

std::vector<Text> stacked(const QStringList &lines)
{
    std::vector<Text> texts;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        texts.push_back({lines[i], 120, static_cast<int>(150 + 70 * i), i == 0 ? 34 : 22});
    }
    return texts;
}

TEST(VisionPerceptionIntegrationTest, ReadsEnglishInOrder)
{
    const ScreenshotFeatures features = perceive(render(QSize(1280, 800), false, stacked(englishLines)));
    expectLines(features, englishLines);
    EXPECT_EQ(features.language, std::optional<QString>("en"));
    EXPECT_EQ(features.pixelWidth, 1280);
    EXPECT_EQ(features.pixelHeight, 800);
    EXPECT_FALSE(features.mainColumnCount.has_value());
    for (const auto &line : features.lines) {
        EXPECT_GT(line.confidence, 0.7);
        EXPECT_NEAR(line.left, 120.0 / 1280, 0.01);
    }
    EXPECT_TRUE(features.hasMeaningfulText());
}

TEST(VisionPerceptionIntegrationTest, ReadsRussianInOrder)
{
    const ScreenshotFeatures features = perceive(render(QSize(1280, 800), false, stacked(russianLines)));
    expectLines(features, russianLines);
    EXPECT_EQ(features.language, std::optional<QString>("ru"));
}

TEST(VisionPerceptionIntegrationTest, DarkScreenReadsLikeItsLightTwin)
{
    const ScreenshotFeatures light = perceive(render(QSize(1280, 800), false, stacked(englishLines)));
    const ScreenshotFeatures dark = perceive(render(QSize(1280, 800), true, stacked(englishLines)));
    expectLines(dark, englishLines);
    ASSERT_EQ(dark.lines.size(), light.lines.size());
    for (std::size_t i = 0; i < dark.lines.size(); ++i) {
        EXPECT_NEAR(dark.lines[i].top, light.lines[i].top, 0.005);
        EXPECT_NEAR(dark.lines[i].confidence, light.lines[i].confidence, 0.1);
    }
    EXPECT_EQ(dark.language, light.language);
}

TEST(VisionPerceptionIntegrationTest, ContentColumnComesBeforeSidebar)
{
    const QStringList sidebar{"Inbox", "Drafts", "Sent", "Archive", "Spam", "Trash", "Notes", "Tasks"};
    const QStringList content{
        "The quarterly report shows steady growth",
        "Marketing spending stayed within budget",
        "Customer support answered every request",
        "Next quarter we focus on reliability",
    };
    std::vector<Text> texts;
    for (qsizetype i = 0; i < sidebar.size(); ++i) {
        texts.push_back({sidebar[i], 40, static_cast<int>(120 + 60 * i)});
    }
    for (qsizetype i = 0; i < content.size(); ++i) {
        texts.push_back({content[i], 420, static_cast<int>(150 + 120 * i)});
    }
    const ScreenshotFeatures features = perceive(render(QSize(1280, 800), false, texts));
    ASSERT_TRUE(features.mainColumnCount.has_value());
    EXPECT_EQ(*features.mainColumnCount, 4);
    expectLines(features, content + sidebar);
}

TEST(VisionPerceptionIntegrationTest, ConcurrentAnalysesDoNotInterfere)
{
    const QImage english = render(QSize(1280, 800), false, stacked(englishLines));
    const QImage russian = render(QSize(1280, 800), true, stacked(russianLines));
    const VisionPerception perception;
    PerceptionResult first;
    PerceptionResult second;
    std::thread other([&] { second = perception.analyze(russian, true); });
    first = perception.analyze(english, true);
    other.join();
    ASSERT_TRUE(std::holds_alternative<ScreenshotFeatures>(first));
    ASSERT_TRUE(std::holds_alternative<ScreenshotFeatures>(second));
    expectLines(std::get<ScreenshotFeatures>(first), englishLines);
    expectLines(std::get<ScreenshotFeatures>(second), russianLines);
}

TEST(VisionPerceptionIntegrationTest, BlankScreenHasNoText)
{
    const VisionPerception perception;
    perception.warmUp();
    QImage blank(320, 120, QImage::Format_RGB888);
    blank.fill(Qt::white);
    const PerceptionResult result = perception.analyze(blank, true);
    ASSERT_TRUE(std::holds_alternative<ScreenshotFeatures>(result));
    EXPECT_TRUE(std::get<ScreenshotFeatures>(result).lines.empty());
    EXPECT_FALSE(std::get<ScreenshotFeatures>(result).language.has_value());
}

} // namespace
