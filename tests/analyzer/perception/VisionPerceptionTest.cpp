// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "VisionPerception.h"
#include "Cld2LanguageIdentifier.h"
#include "PageBands.h"
#include "TesseractRecognizer.h"

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
    // Text, candidates, the identifier's guesses, the language expected, whether the identifier is asked.
    const std::tuple<QString, QStringList, std::vector<Hypothesis>, std::optional<QString>, bool> cases[] = {
        {QStringLiteral("Hello w"), {"en", "de"}, {{"en", 1.0}}, {}, false},
        {QStringLiteral("Hello wo"), {"en", "de"}, {{"en", 1.0}}, "en", true},
        {mixed44, {"en", "ru"}, {{"en", 1.0}}, "ru", false},
        {english, {"en", "ru"}, {{"ru", 1.0}}, "en", false},
        {english, {"en", "de"}, {{"de", 0.9}, {"en", 0.1}}, "de", true},
        {english, {"en", "de"}, {{"en", 0.6}}, "en", true},
        {english, {"en", "de"}, {{"en", 0.59}}, {}, true},
        {english, {"en", "de"}, {{"fr", 0.95}, {"de", 0.7}}, "de", true},
        {english, {"en", "de"}, {{"fr", 0.95}, {"de", 0.05}}, {}, true},
        {english, {"en-GB", "de"}, {{"en", 0.8}}, "en-GB", true},
        {russian, {"ru", "uk", "en"}, {{"en", 0.9}, {"uk", 0.8}}, "uk", true},
        {russian, {"en", "de"}, {{"de", 0.7}}, "de", true},
        {mixed25, {"en", "ru"}, {{"ru", 0.65}}, "ru", true},
    };
    int row = 0;
    for (const auto &[text, candidates, identified, expected, consulted] : cases) {
        Engines engines;
        engines.languages = identified;
        EXPECT_EQ(engines.perception.dominantLanguage(text, candidates), expected) << "row " << row;
        EXPECT_EQ(engines.identifications > 0, consulted) << "row " << row++;
    }

    const Cld2LanguageIdentifier identifier;
    for (const auto &[text, code] : {std::pair{"Der Bericht zeigt ein stetiges Wachstum in allen Regionen", "de"},
                                     {"The quarterly report shows steady growth in every region", "en"},
                                     {"Отчёт показывает устойчивый рост во всех регионах страны", "ru"},
                                     {"הדוח מראה צמיחה יציבה בכל האזורים של המדינה", "he"}}) {
        const auto guesses = identifier.hypotheses(QString::fromUtf8(text));
        ASSERT_FALSE(guesses.empty()) << code;
        EXPECT_EQ(guesses.front().code, QString::fromUtf8(code));
        EXPECT_GE(guesses.front().probability, 0.6) << code;
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
    EXPECT_TRUE(std::get<ScreenshotFeatures>(engines.perception.analyze(QImage(20, 10, QImage::Format_RGB32), false))
                    .lines.empty());
    EXPECT_EQ(engines.recognitions, 1);

    engines.text.error = QStringLiteral("models missing");
    const PerceptionResult failed = engines.perception.analyze(QImage(20, 10, QImage::Format_RGB32), true);
    EXPECT_EQ(std::get<PerceptionError>(failed).code, PerceptionError::Code::recognitionFailed);
    EXPECT_EQ(std::get<PerceptionError>(failed).detail, "models missing");
    EXPECT_EQ(std::get<PerceptionError>(engines.perception.analyze(QImage(), true)).code,
              PerceptionError::Code::unreadableImage);
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

TEST(VisionPerceptionTest, LoadImageScalesOrientsAndRefusesBrokenAndHugeImages)
{
    QImage image(400, 200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256)); // incompressible enough to span chunks
    const QByteArray whole = encoded(image);
    const QByteArray rotated = encoded(image, "jpeg", QImageIOHandler::TransformationRotate90);
    for (const auto &[bytes, limit, size] : {std::tuple{whole, 2560, QSize(400, 200)},
                                             {whole, 100, QSize(100, 50)},
                                             {rotated, 2560, QSize(200, 400)},
                                             {rotated, 100, QSize(50, 100)}})
        EXPECT_EQ(VisionPerception::loadImage(bytes, limit).size(), size);
    for (const QByteArray &broken : {whole.left(whole.size() / 2), QByteArray(), QByteArray("not an image at all")})
        EXPECT_TRUE(VisionPerception::loadImage(broken, 2560).isNull());

    // The header declares 100000 × 100000 pixels (a valid chunk with its checksum); nothing that big is allocated.
    QByteArray bomb = whole;
    const int ihdr = 12; // after the signature and the chunk length
    ASSERT_EQ(bomb.mid(ihdr, 4), "IHDR");
    const auto put = [&bomb](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            bomb[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
    };
    put(ihdr + 4, 100000);
    put(ihdr + 8, 100000);
    quint32 crc = 0xffffffffu;
    for (const char byte : bomb.mid(ihdr, 17)) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    put(ihdr + 17, ~crc);
    QBuffer probe(&bomb);
    EXPECT_EQ(QImageReader(&probe).size(), QSize(100000, 100000));
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(VisionPerception::loadImage(bomb, 2560).isNull());
    EXPECT_LT(timer.elapsed(), 1000);
}

// Rows of slanted strokes standing in for text, starting every `pitch` pixels below a 20-pixel margin, beside a
// sidebar border that runs the page's whole height.
QImage page(int rows, int pitch)
{
    QImage image(400, 20 + rows * pitch, QImage::Format_Grayscale8);
    image.fill(250);
    for (int y = 0; y < image.height(); ++y) {
        image.scanLine(y)[120] = 90;
        if (y >= 20 && (y - 20) % pitch < 10)
            for (int x = 140; x < 380; x += 7)
                image.scanLine(y)[x + y % 3] = 20;
    }
    return image;
}

TEST(VisionPerceptionTest, PagesAreCutOnlyBetweenRowsOfTextIntoEvenBands)
{
    const QImage text = page(12, 22);
    EXPECT_EQ(PageBands::split(text, 1), (std::vector<PageBands::Band>{{0, text.height()}}));
    for (const int count : {2, 3}) {
        const auto bands = PageBands::split(text, count);
        ASSERT_EQ(bands.size(), std::size_t(count));
        EXPECT_EQ(bands.front().top, 0);
        EXPECT_EQ(bands.back().bottom, text.height());
        for (std::size_t i = 1; i < bands.size(); ++i) {
            EXPECT_EQ(bands[i].top, bands[i - 1].bottom);
            EXPECT_TRUE(bands[i].top < 20 || (bands[i].top - 20) % 22 >= 10) << "cut through a row at " << bands[i].top;
        }
        for (const PageBands::Band &band : bands)
            EXPECT_NEAR(double(band.bottom - band.top) / 22, 12.0 / count, 1.0);
    }
    // Rows too close to part without touching a letter, and a page without text, stay whole.
    EXPECT_EQ(PageBands::split(page(12, 12), 2).size(), 1u);
    QImage blank(400, 300, QImage::Format_Grayscale8);
    blank.fill(255);
    EXPECT_EQ(PageBands::split(blank, 2).size(), 1u);
}

// A screen of the given background with a bar of the other polarity across its top third.
QImage screen(QColor background, QColor bar)
{
    QImage image(90, 60, QImage::Format_RGB32);
    image.fill(background);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 90; ++x)
            image.setPixelColor(x, y, bar);
    return image;
}

TEST(VisionPerceptionTest, RecognitionSeesDarkTextOnALightGreyBackground)
{
    for (const QImage &grey :
         {TesseractRecognizer::prepareForRecognition(screen(QColor(250, 250, 250), QColor(30, 30, 60))),
          TesseractRecognizer::prepareForRecognition(screen(QColor(30, 30, 40), QColor(230, 230, 230)))}) {
        EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
        EXPECT_LT(grey.pixelColor(5, 5).value(), 64) << "the bar is dark: kept on light screens, inverted on dark ones";
        EXPECT_GT(grey.pixelColor(5, 40).value(), 192);
    }
    QImage transparent(40, 40, QImage::Format_ARGB32);
    transparent.fill(Qt::transparent);
    EXPECT_EQ(TesseractRecognizer::prepareForRecognition(transparent).pixelColor(20, 20).value(), 255)
        << "transparency counts as white";
}

} // namespace
