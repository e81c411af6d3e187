// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TesseractRecognizer.h"

#include <gtest/gtest.h>

namespace {

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

TEST(TesseractRecognizerTest, PreparesDarkTextOnALightGreyBackground)
{
    const QImage light = TesseractRecognizer::prepareForRecognition(screen(QColor(250, 250, 250), QColor(30, 30, 60)));
    const QImage dark = TesseractRecognizer::prepareForRecognition(screen(QColor(30, 30, 40), QColor(230, 230, 230)));
    for (const QImage &grey : {light, dark}) {
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
