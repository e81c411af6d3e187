// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TesseractRecognizer.h"

#include <gtest/gtest.h>

namespace {

double meanGrey(const QImage &grey)
{
    double sum = 0;
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) {
            sum += grey.constScanLine(y)[x];
        }
    }
    return sum / (grey.width() * grey.height());
}

// A screen of the given background with a bar of the other polarity covering a third of it.
QImage screen(QColor background, QColor bar)
{
    QImage image(90, 60, QImage::Format_RGB32);
    image.fill(background);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 90; ++x) {
            image.setPixelColor(x, y, bar);
        }
    }
    return image;
}

TEST(TesseractRecognizerTest, PreparesDarkOnLight)
{
    const QImage light = TesseractRecognizer::prepareForRecognition(screen(QColor(250, 250, 250), QColor(30, 30, 60)));
    const QImage dark = TesseractRecognizer::prepareForRecognition(screen(QColor(30, 30, 40), QColor(230, 230, 230)));
    EXPECT_EQ(light.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(dark.format(), QImage::Format_Grayscale8);
    EXPECT_GT(meanGrey(light), 128);
    EXPECT_GT(meanGrey(dark), 128);
    // The light screen is left as it is: its dark bar stays dark.
    EXPECT_LT(light.pixelColor(5, 5).value(), 64);
    // The dark screen is inverted: its light bar turns dark.
    EXPECT_LT(dark.pixelColor(5, 5).value(), 64);
}

TEST(TesseractRecognizerTest, TransparencyCountsAsWhite)
{
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QImage grey = TesseractRecognizer::prepareForRecognition(image);
    EXPECT_EQ(grey.pixelColor(20, 20).value(), 255);
}

TEST(TesseractRecognizerTest, DarknessIsTheMajorityOfPixels)
{
    QImage grey(10, 10, QImage::Format_Grayscale8);
    grey.fill(200);
    EXPECT_FALSE(TesseractRecognizer::isDark(grey));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 10; ++x) {
            grey.scanLine(y)[x] = 20;
        }
    }
    EXPECT_FALSE(TesseractRecognizer::isDark(grey)); // exactly half
    grey.scanLine(5)[0] = 20;
    EXPECT_TRUE(TesseractRecognizer::isDark(grey));
}

} // namespace
