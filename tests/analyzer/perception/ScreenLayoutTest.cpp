// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenLayout.h"

#include <gtest/gtest.h>

namespace {

using Line = ScreenshotFeatures::Line;

Line line(const QString &text, double left, double top, double width)
{
    return Line{text, 0.02, top, left, 0.9, width};
}

QStringList texts(const std::vector<Line> &lines)
{
    QStringList result;
    for (const Line &l : lines)
        result.append(l.text);
    return result;
}

// Left pane at x 0.05…0.25, right pane at x 0.55…0.90, rows offset so no right line shares a left line's row.
std::vector<Line> twoPanes(int leftCount, int rightCount, int alignedRows = 0)
{
    std::vector<Line> lines;
    for (int i = 0; i < leftCount; ++i)
        lines.push_back(line(QStringLiteral("L%1").arg(i), 0.05, 0.10 + 0.06 * i, 0.20));
    for (int i = 0; i < rightCount; ++i)
        lines.push_back(line(QStringLiteral("R%1").arg(i), 0.55, 0.10 + 0.06 * i + (i < alignedRows ? 0 : 0.03), 0.35));
    return lines;
}

TEST(ScreenLayoutTest, FindsColumnsOnlyAtARealGutter)
{
    std::vector<Line> table; // cells share rows, with the jitter recognition boxes have
    std::vector<Line> centred;
    for (int i = 0; i < 8; ++i) {
        table.push_back(line(QStringLiteral("name%1").arg(i), 0.05, 0.1 + 0.05 * i, 0.2));
        table.push_back(line(QStringLiteral("value%1").arg(i), 0.6, 0.1 + 0.05 * i + 0.004, 0.2));
        centred.push_back(line(QStringLiteral("c%1").arg(i), 0.3, 0.1 * i, 0.3));
    }
    auto zeroWidth = twoPanes(4, 4);
    zeroWidth[2].width = 0;
    // Eight lines at least, three on a side, at most a third of the rows aligned; edge gaps are margins.
    const std::pair<std::vector<Line>, std::size_t> cases[] = {
        {twoPanes(4, 3), 1},    {twoPanes(4, 4), 2}, {twoPanes(6, 2), 1}, {twoPanes(5, 3), 2}, {twoPanes(6, 6, 2), 2},
        {twoPanes(6, 6, 4), 1}, {table, 1},          {zeroWidth, 1},      {centred, 1},
    };
    int row = 0;
    for (const auto &[lines, columns] : cases)
        EXPECT_EQ(ScreenLayout::columns(lines).size(), columns) << "row " << row++;
}

TEST(ScreenLayoutTest, ReadingOrder)
{
    const auto one = ScreenLayout::readingOrder(twoPanes(4, 3));
    EXPECT_EQ(texts(one.lines), (QStringList{"L0", "R0", "L1", "R1", "L2", "R2", "L3"}));
    EXPECT_FALSE(one.mainCount.has_value());
    EXPECT_TRUE(ScreenLayout::readingOrder({}).lines.empty());

    // Equal letters: the leftmost column is the main one.
    const auto tie = ScreenLayout::readingOrder(twoPanes(4, 4));
    EXPECT_EQ(texts(tie.lines), (QStringList{"L0", "L1", "L2", "L3", "R0", "R1", "R2", "R3"}));
    EXPECT_EQ(tie.mainCount, 4);
    auto headed = twoPanes(4, 4);
    headed.push_back(line(QStringLiteral("Heading"), 0.05, 0.02, 0.70));
    const auto withHeading = ScreenLayout::readingOrder(headed); // a wide line belongs where it starts
    EXPECT_EQ(withHeading.lines.front().text, "Heading");
    EXPECT_EQ(withHeading.mainCount, 5);

    // The column with the most letters comes first, then the others left to right.
    std::vector<Line> three;
    for (int i = 0; i < 4; ++i) {
        three.push_back(line(QStringLiteral("nav%1").arg(i), 0.02, 0.10 + 0.1 * i, 0.1));
        three.push_back(line(QStringLiteral("message subject %1").arg(i), 0.25, 0.13 + 0.1 * i, 0.2));
        three.push_back(line(QStringLiteral("x%1").arg(i), 0.7, 0.16 + 0.1 * i, 0.1));
    }
    const auto order = ScreenLayout::readingOrder(three);
    EXPECT_EQ(order.mainCount, 4);
    EXPECT_EQ(texts(order.lines).join(u' '), "message subject 0 message subject 1 message subject 2 message subject 3 "
                                             "nav0 nav1 nav2 nav3 x0 x1 x2 x3");

    // Lines on nearly the same row read left to right.
    for (const auto &[top, expected] : {std::pair{0.1079, "left right"}, std::pair{0.1081, "right left"}}) {
        std::vector<Line> lines{line(QStringLiteral("right"), 0.5, 0.100, 0.1),
                                line(QStringLiteral("left"), 0.1, top, 0.1)};
        ScreenLayout::sortInRowOrder(lines);
        EXPECT_EQ(texts(lines).join(u' '), expected) << top;
    }
}

} // namespace
