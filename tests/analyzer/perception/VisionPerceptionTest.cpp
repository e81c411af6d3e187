// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "VisionPerception.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>
#include <QImageWriter>

#include <atomic>

namespace {

using Hypothesis = LanguageIdentifier::Hypothesis;
using Label = ImageClassifier::Observation;
using Found = TextRecognizer::Observation;

// Every engine at once, answering what the test set and counting the calls that cost time.
struct Engines final : TextRecognizer, LanguageIdentifier, ImageClassifier
{
    TextRecognizer::Result text;
    std::vector<Hypothesis> languages;
    std::vector<Label> labels;
    mutable std::atomic<int> recognitions = 0;
    mutable std::atomic<int> identifications = 0;
    VisionPerception perception{*this, *this, this};

    TextRecognizer::Result recognize(const QImage &) const override { return ++recognitions, text; }
    std::vector<Hypothesis> hypotheses(const QString &) const override { return ++identifications, languages; }
    std::vector<Label> classify(const QImage &) const override { return labels; }
};

TEST(VisionPerceptionTest, DominantLanguage)
{
    const QString english = QStringLiteral("Quarterly budget review");
    const QString russian = QStringLiteral("Отчёт о продажах");
    const QString mixed44 = QStringLiteral("Отчётпр abcdefghi"); // 7 of 16 letters Cyrillic
    const QString mixed25 = QStringLiteral("Отче abcdefghijkl"); // 4 of 16
    const struct
    {
        const char *name;
        QString text;
        QStringList candidates;
        std::vector<Hypothesis> identified;
        std::optional<QString> expected;
        bool consultsIdentifier;
    } cases[] = {
        {"seven characters are too few", QStringLiteral("Hello w"), {"en", "de"}, {{"en", 1.0}}, {}, false},
        {"eight characters are enough", QStringLiteral("Hello wo"), {"en", "de"}, {{"en", 1.0}}, "en", true},
        {"Cyrillic share decides alone", mixed44, {"en", "ru"}, {{"en", 1.0}}, "ru", false},
        {"Latin text drops Cyrillic candidates", english, {"en", "ru"}, {{"ru", 1.0}}, "en", false},
        {"several Latin candidates ask the identifier", english, {"en", "de"}, {{"de", 0.9}, {"en", 0.1}}, "de", true},
        {"probability 0.6 is enough", english, {"en", "de"}, {{"en", 0.6}}, "en", true},
        {"probability below 0.6 is not", english, {"en", "de"}, {{"en", 0.59}}, {}, true},
        {"guesses outside the candidates are set aside",
         english,
         {"en", "de"},
         {{"fr", 0.95}, {"de", 0.7}},
         "de",
         true},
        {"best remaining guess must itself be likely", english, {"en", "de"}, {{"fr", 0.95}, {"de", 0.05}}, {}, true},
        {"region subtags match their language", english, {"en-GB", "de"}, {{"en", 0.8}}, "en-GB", true},
        {"several Cyrillic candidates", russian, {"ru", "uk", "en"}, {{"en", 0.9}, {"uk", 0.8}}, "uk", true},
        {"Cyrillic text without Cyrillic candidates", russian, {"en", "de"}, {{"de", 0.7}}, "de", true},
        {"middle share keeps every candidate", mixed25, {"en", "ru"}, {{"ru", 0.65}}, "ru", true},
    };
    for (const auto &c : cases) {
        Engines engines;
        engines.languages = c.identified;
        EXPECT_EQ(engines.perception.dominantLanguage(c.text, c.candidates), c.expected) << c.name;
        EXPECT_EQ(engines.identifications > 0, c.consultsIdentifier) << c.name;
    }
}

TEST(VisionPerceptionTest, FiltersLabelsAndLines)
{
    EXPECT_EQ(VisionPerception::filterLabels({{"screenshot", 0.99}, {"sky", 0.25}, {"cat", 0.26}}), QStringList{"cat"});
    EXPECT_EQ(
        VisionPerception::filterLabels(
            {Label{"a", 0.3}, {"b", 0.9}, {"c", 0.5}, {"d", 0.5}, {"e", 0.4}, {"f", 0.7}, {"motor_vehicle", 0.35}}),
        (QStringList{"b", "f", "c", "d", "e"}));
    EXPECT_EQ(VisionPerception::filterLabels({{"sports_car_racing", 0.5}}), QStringList{"sports car racing"});

    const std::vector<Found> found{
        {"  Save changes \n", QRect(100, 50, 300, 20), 0.95},
        {" B ", QRect(100, 100, 20, 20), 0.99},        // one character once trimmed
        {"Low", QRect(100, 150, 100, 20), 0.29},       // not confident enough
        {"Just", QRect(100, 200, 100, 20), 0.30},      // confident enough
        {"Tiny print", QRect(100, 300, 100, 3), 0.9},  // 0.006 of the height
        {"Small print", QRect(100, 400, 100, 4), 0.9}, // 0.008 of the height
    };
    const auto lines = VisionPerception::acceptedLines(found, QSize(1000, 500));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (ScreenshotFeatures::Line{"Save changes", 0.04, 0.1, 0.1, 0.95, 0.3}));
    EXPECT_EQ(lines[1].text, "Just");
    EXPECT_EQ(lines[2].text, "Small print");
}

TEST(VisionPerceptionTest, AnalyzeShapesRecognisedTextAndReportsFailures)
{
    Engines engines;
    engines.labels = {{"web_site", 0.8}};
    engines.languages = {{"en", 0.9}};
    // Ten sidebar items, then four long content lines: the content pane is read first.
    for (int i = 0; i < 10; ++i)
        engines.text.observations.push_back({QStringLiteral("Menu %1").arg(i), QRect(20, 100 + 50 * i, 100, 20), 0.9});
    for (int i = 0; i < 4; ++i)
        engines.text.observations.push_back({QStringLiteral("The report shows steady growth in every region %1").arg(i),
                                             QRect(300, 125 + 200 * i, 550, 20), 0.9});
    const auto features =
        std::get<ScreenshotFeatures>(engines.perception.analyze(QImage(1000, 1000, QImage::Format_RGB32), true));
    EXPECT_EQ(features.labels, QStringList{"web site"});
    ASSERT_EQ(features.lines.size(), 14u);
    EXPECT_EQ(features.lines.front().text, "The report shows steady growth in every region 0");
    EXPECT_EQ(features.mainColumnCount, 4);
    EXPECT_EQ(features.language, std::optional<QString>("en"));
    EXPECT_EQ(QSize(features.pixelWidth, features.pixelHeight), QSize(1000, 1000));

    // Without text recognition only the classifier runs.
    const auto labelsOnly = engines.perception.analyze(QImage(20, 10, QImage::Format_RGB32), false);
    EXPECT_EQ(engines.recognitions, 1);
    EXPECT_TRUE(std::get<ScreenshotFeatures>(labelsOnly).lines.empty());

    engines.text.error = QStringLiteral("models missing");
    const PerceptionResult failed = engines.perception.analyze(QImage(20, 10, QImage::Format_RGB32), true);
    EXPECT_EQ(std::get<PerceptionError>(failed).code, PerceptionError::Code::recognitionFailed);
    EXPECT_EQ(std::get<PerceptionError>(failed).detail, "models missing");
    const PerceptionResult unreadable = engines.perception.analyze(QImage(), true);
    EXPECT_EQ(std::get<PerceptionError>(unreadable).code, PerceptionError::Code::unreadableImage);
}

QByteArray encoded(const QImage &image, const char *format = "PNG",
                   QImageIOHandler::Transformation transformation = QImageIOHandler::TransformationNone)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setTransformation(transformation);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : data) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

TEST(VisionPerceptionTest, LoadImageScalesOrientsAndRefusesBrokenAndHugeImages)
{
    QImage image(400, 200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256)); // incompressible enough to span chunks
        }
    }
    const QByteArray whole = encoded(image);
    EXPECT_EQ(VisionPerception::loadImage(whole, 2560).size(), QSize(400, 200));
    EXPECT_EQ(VisionPerception::loadImage(whole, 100).size(), QSize(100, 50));
    const QByteArray rotated = encoded(image, "jpeg", QImageIOHandler::TransformationRotate90);
    EXPECT_EQ(VisionPerception::loadImage(rotated, 2560).size(), QSize(200, 400));
    EXPECT_EQ(VisionPerception::loadImage(rotated, 100).size(), QSize(50, 100));
    for (const QByteArray &broken : {whole.left(whole.size() / 2), QByteArray(), QByteArray("not an image at all")})
        EXPECT_TRUE(VisionPerception::loadImage(broken, 2560).isNull());

    // The header declares 100000 × 100000 pixels (a valid chunk with its checksum); nothing that big is allocated.
    QByteArray bomb = whole;
    const int ihdr = 12; // after the signature and the chunk length
    ASSERT_EQ(bomb.mid(ihdr, 4), "IHDR");
    auto put = [&bomb](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            bomb[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
    };
    put(ihdr + 4, 100000);
    put(ihdr + 8, 100000);
    put(ihdr + 17, crc32(bomb.mid(ihdr, 17)));
    QBuffer probe(&bomb);
    EXPECT_EQ(QImageReader(&probe).size(), QSize(100000, 100000));
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(VisionPerception::loadImage(bomb, 2560).isNull());
    EXPECT_LT(timer.elapsed(), 1000);
}

} // namespace
