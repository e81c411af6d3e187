// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PageBands.h"

#include <gtest/gtest.h>

namespace {

constexpr int rowHeight = 10;

// A page with a sidebar border running its whole height and rows of slanted strokes standing in for text,
// starting every `pitch` rows.
QImage page(int rows, int pitch)
{
    QImage image(400, 20 + rows * pitch, QImage::Format_Grayscale8);
    image.fill(250);
    for (int y = 0; y < image.height(); ++y)
        image.scanLine(y)[120] = 90;
    for (int row = 0; row < rows; ++row)
        for (int y = 20 + row * pitch; y < 20 + row * pitch + rowHeight; ++y)
            for (int x = 140; x < 380; x += 7)
                image.scanLine(y)[x + y % 3] = 20;
    return image;
}

bool insideText(int y, int pitch)
{
    return y >= 20 && (y - 20) % pitch < rowHeight;
}

TEST(PageBandsTest, CutsOnlyBetweenRowsOfTextIntoEvenBands)
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
            EXPECT_FALSE(insideText(bands[i].top, 22)) << "cut through a row at " << bands[i].top;
        }
        for (const PageBands::Band &band : bands)
            EXPECT_NEAR(double(band.bottom - band.top) / 22, 12.0 / count, 1.0);
    }

    // Rows too close to part without touching a letter, and a page without text, stay whole.
    const QImage crowded = page(12, rowHeight + 2);
    EXPECT_EQ(PageBands::split(crowded, 2).size(), 1u);
    QImage blank(400, 300, QImage::Format_Grayscale8);
    blank.fill(255);
    EXPECT_EQ(PageBands::split(blank, 2).size(), 1u);
}

} // namespace
