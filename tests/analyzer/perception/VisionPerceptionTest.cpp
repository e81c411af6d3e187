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

class FakeIdentifier final : public LanguageIdentifier
{
public:
    std::vector<Hypothesis> answer;
    mutable std::atomic<int> calls = 0;

    std::vector<Hypothesis> hypotheses(const QString &) const override
    {
        ++calls;
        return answer;
    }
};

class FakeRecognizer final : public TextRecognizer
{
public:
    Result answer;
    mutable std::atomic<int> calls = 0;

    Result recognize(const QImage &) const override
    {
        ++calls;
        return answer;
    }
};

class FakeClassifier final : public ImageClassifier
{
public:
    std::vector<Observation> answer;
    std::vector<Observation> classify(const QImage &) const override { return answer; }
};

struct Fixture
{
    FakeRecognizer recognizer;
    FakeIdentifier identifier;
    FakeClassifier classifier;
    VisionPerception perception{recognizer, identifier, &classifier};
};

TEST(VisionPerceptionTest, DominantLanguage)
{
    const QString english = QStringLiteral("Quarterly budget review");
    const QString russian = QStringLiteral("Отчёт о продажах");
    const QString mixed45 = QStringLiteral("Отчётпр abcdefghi"); // 7 of 16 letters Cyrillic, 0.44
    const QString mixed25 = QStringLiteral("Отче abcdefghijkl"); // 4 of 16, 0.25
    using H = LanguageIdentifier::Hypothesis;
    struct Case
    {
        const char *name;
        QString text;
        QStringList candidates;
        std::vector<H> identified;
        std::optional<QString> expected;
        bool consultsIdentifier;
    };
    const Case cases[] = {
        {"seven characters are too few", QStringLiteral("Hello w"), {"en", "de"}, {{"en", 1.0}}, {}, false},
        {"eight characters are enough", QStringLiteral("Hello wo"), {"en", "de"}, {{"en", 1.0}}, "en", true},
        {"Cyrillic share decides alone", mixed45, {"en", "ru"}, {{"en", 1.0}}, "ru", false},
        {"Latin text drops Cyrillic candidates", english, {"en", "ru"}, {{"ru", 1.0}}, "en", false},
        {"duplicates collapse to one candidate", english, {"en", "en"}, {}, "en", false},
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
        {"Cyrillic text with several Cyrillic candidates",
         russian,
         {"ru", "uk", "en"},
         {{"en", 0.9}, {"uk", 0.8}},
         "uk",
         true},
        {"Cyrillic text without Cyrillic candidates keeps them all", russian, {"en", "de"}, {{"de", 0.7}}, "de", true},
        {"middle share keeps every candidate", mixed25, {"en", "ru"}, {{"ru", 0.65}}, "ru", true},
        {"unreliable identification means no language", english, {"en", "de"}, {{"en", 0.0}}, {}, true},
    };
    for (const Case &c : cases) {
        Fixture f;
        f.identifier.answer = c.identified;
        EXPECT_EQ(f.perception.dominantLanguage(c.text, c.candidates), c.expected) << c.name;
        EXPECT_EQ(f.identifier.calls > 0, c.consultsIdentifier) << c.name;
    }
}

TEST(VisionPerceptionTest, DefaultCandidatesEndWithEnglishAndRussian)
{
    Fixture f;
    // Whatever the user's languages, Russian text picks a Cyrillic candidate and English text a Latin one.
    f.identifier.answer = {{"ru", 0.9}, {"en", 0.9}};
    EXPECT_EQ(f.perception.dominantLanguage(QStringLiteral("Отчёт о продажах")), std::optional<QString>("ru"));
    EXPECT_EQ(f.perception.dominantLanguage(QStringLiteral("Quarterly budget review")), std::optional<QString>("en"));
}

TEST(VisionPerceptionTest, FilterLabels)
{
    using O = ImageClassifier::Observation;
    EXPECT_EQ(VisionPerception::filterLabels({}), QStringList());
    EXPECT_EQ(VisionPerception::filterLabels({{"graphic_design", 0.9},
                                              {"screenshot", 0.99},
                                              {"text", 0.8},
                                              {"document", 0.8},
                                              {"structure", 0.8},
                                              {"material", 0.8},
                                              {"art", 0.8},
                                              {"illustrations", 0.8}}),
              QStringList());
    EXPECT_EQ(VisionPerception::filterLabels({O{"sky", 0.25}, O{"cat", 0.26}}), QStringList{"cat"});
    EXPECT_EQ(VisionPerception::filterLabels(
                  {O{"a", 0.3}, O{"b", 0.9}, O{"c", 0.5}, O{"d", 0.5}, O{"e", 0.4}, O{"f", 0.7}, O{"g", 0.35}}),
              (QStringList{"b", "f", "c", "d", "e"}));
    EXPECT_EQ(VisionPerception::filterLabels({O{"motor_vehicle", 0.6}, O{"sports_car_racing", 0.5}}),
              (QStringList{"motor vehicle", "sports car racing"}));
}

TEST(VisionPerceptionTest, AcceptedLines)
{
    const QSize size(1000, 500);
    const std::vector<TextRecognizer::Observation> found{
        {"  Save changes \n", QRect(100, 50, 300, 20), 0.95},
        {"A", QRect(100, 100, 20, 20), 0.99},          // one character
        {" B ", QRect(100, 100, 20, 20), 0.99},        // one character once trimmed
        {"Low", QRect(100, 150, 100, 20), 0.29},       // not confident enough
        {"Just", QRect(100, 200, 100, 20), 0.30},      // confident enough
        {"Tiny print", QRect(100, 300, 100, 3), 0.9},  // 0.006 of the height
        {"Small print", QRect(100, 400, 100, 4), 0.9}, // 0.008 of the height
        {"   ", QRect(100, 450, 100, 20), 0.9},
    };
    const auto lines = VisionPerception::acceptedLines(found, size);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (ScreenshotFeatures::Line{"Save changes", 0.04, 0.1, 0.1, 0.95, 0.3}));
    EXPECT_EQ(lines[1].text, "Just");
    EXPECT_EQ(lines[2].text, "Small print");
}

TEST(VisionPerceptionTest, AnalyzeShapesRecognisedText)
{
    Fixture f;
    f.classifier.answer = {{"screenshot", 0.9}, {"web_site", 0.8}};
    f.identifier.answer = {{"en", 0.9}};
    std::vector<TextRecognizer::Observation> found;
    // Ten sidebar items, then four long content lines: the content pane is read first.
    for (int i = 0; i < 10; ++i) {
        found.push_back({QStringLiteral("Menu %1").arg(i), QRect(20, 100 + 50 * i, 100, 20), 0.9});
    }
    for (int i = 0; i < 4; ++i) {
        found.push_back({QStringLiteral("The report shows steady growth in every region %1").arg(i),
                         QRect(300, 125 + 200 * i, 550, 20), 0.9});
    }
    f.recognizer.answer.observations = found;
    const QImage image(1000, 1000, QImage::Format_RGB32);
    const PerceptionResult result = f.perception.analyze(image, true);
    const auto *features = std::get_if<ScreenshotFeatures>(&result);
    ASSERT_NE(features, nullptr);
    EXPECT_EQ(features->labels, QStringList{"web site"});
    ASSERT_EQ(features->lines.size(), 14u);
    EXPECT_EQ(features->lines.front().text, "The report shows steady growth in every region 0");
    EXPECT_EQ(features->mainColumnCount, 4);
    EXPECT_EQ(features->language, std::optional<QString>("en"));
    EXPECT_EQ(features->pixelWidth, 1000);
    EXPECT_EQ(features->pixelHeight, 1000);
}

TEST(VisionPerceptionTest, AnalyzeWithoutTextRecognitionOnlyClassifies)
{
    Fixture f;
    f.classifier.answer = {{"cat", 0.9}};
    f.recognizer.answer.observations = {{"Hello there", QRect(0, 0, 100, 20), 0.9}};
    const PerceptionResult result = f.perception.analyze(QImage(200, 100, QImage::Format_RGB32), false);
    const auto *features = std::get_if<ScreenshotFeatures>(&result);
    ASSERT_NE(features, nullptr);
    EXPECT_EQ(f.recognizer.calls, 0);
    EXPECT_TRUE(features->lines.empty());
    EXPECT_FALSE(features->language.has_value());
    EXPECT_EQ(features->labels, QStringList{"cat"});
}

TEST(VisionPerceptionTest, AnalyzeReportsFailures)
{
    Fixture f;
    f.recognizer.answer.error = QStringLiteral("models missing");
    const PerceptionResult failed = f.perception.analyze(QImage(200, 100, QImage::Format_RGB32), true);
    const auto *error = std::get_if<PerceptionError>(&failed);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code, PerceptionError::Code::recognitionFailed);
    EXPECT_EQ(error->detail, "models missing");

    const PerceptionResult unreadable = f.perception.analyze(QImage(), true);
    ASSERT_TRUE(std::holds_alternative<PerceptionError>(unreadable));
    EXPECT_EQ(std::get<PerceptionError>(unreadable).code, PerceptionError::Code::unreadableImage);
    EXPECT_EQ(std::get<PerceptionError>(unreadable).descriptionKey(), "error.unreadableImage");
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : data) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void putBigEndian(QByteArray &bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
    }
}

TEST(VisionPerceptionTest, LoadImageScalesToLongestSide)
{
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QImage scaled = VisionPerception::loadImage(png(image), 100);
    EXPECT_EQ(scaled.size(), QSize(100, 50));
    EXPECT_EQ(VisionPerception::loadImage(png(image), 2560).size(), QSize(400, 200));
    const QImage tall = VisionPerception::loadImage(png(image.transformed(QTransform().rotate(90))), 100);
    EXPECT_EQ(tall.size(), QSize(50, 100));
}

TEST(VisionPerceptionTest, LoadImageAppliesOrientation)
{
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    ASSERT_TRUE(writer.supportsOption(QImageIOHandler::ImageTransformation));
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(image));
    EXPECT_EQ(VisionPerception::loadImage(bytes, 2560).size(), QSize(200, 400));
    EXPECT_EQ(VisionPerception::loadImage(bytes, 100).size(), QSize(50, 100));
}

TEST(VisionPerceptionTest, LoadImageRefusesBrokenAndHugeImages)
{
    QImage image(300, 300, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256)); // incompressible enough to span chunks
        }
    }
    const QByteArray whole = png(image);
    ASSERT_FALSE(VisionPerception::loadImage(whole, 2560).isNull());

    EXPECT_TRUE(VisionPerception::loadImage(whole.left(whole.size() / 2), 2560).isNull());
    EXPECT_TRUE(VisionPerception::loadImage(QByteArray(), 2560).isNull());
    EXPECT_TRUE(VisionPerception::loadImage(QByteArray("not an image at all"), 2560).isNull());

    // The header declares 100000 × 100000 pixels (a valid chunk with its checksum); nothing that big is allocated.
    QByteArray bomb = whole;
    const int ihdr = 12; // after the signature and the chunk length
    ASSERT_EQ(bomb.mid(ihdr, 4), "IHDR");
    putBigEndian(bomb, ihdr + 4, 100000);
    putBigEndian(bomb, ihdr + 8, 100000);
    putBigEndian(bomb, ihdr + 17, crc32(bomb.mid(ihdr, 17)));
    QBuffer probe(&bomb);
    EXPECT_EQ(QImageReader(&probe).size(), QSize(100000, 100000));
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(VisionPerception::loadImage(bomb, 2560).isNull());
    EXPECT_LT(timer.elapsed(), 1000);
}

} // namespace
