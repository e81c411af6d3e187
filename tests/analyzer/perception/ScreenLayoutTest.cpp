// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenLayout.h"

#include <gtest/gtest.h>

namespace {

using Line = ScreenshotFeatures::Line;

Line line(const QString &text, double left, double top, double width, double height = 0.02)
{
    return Line{text, height, top, left, 0.9, width};
}

QStringList texts(const std::vector<Line> &lines)
{
    QStringList result;
    for (const Line &l : lines) {
        result.append(l.text);
    }
    return result;
}

// Left pane at x 0.05…0.25, right pane at x 0.55…0.90, rows offset so no right line shares a left line's row.
std::vector<Line> twoPanes(int leftCount, int rightCount)
{
    std::vector<Line> lines;
    for (int i = 0; i < leftCount; ++i) {
        lines.push_back(line(QStringLiteral("L%1").arg(i), 0.05, 0.10 + 0.06 * i, 0.20));
    }
    for (int i = 0; i < rightCount; ++i) {
        lines.push_back(line(QStringLiteral("R%1").arg(i), 0.55, 0.13 + 0.06 * i, 0.35));
    }
    return lines;
}

TEST(ScreenLayoutTest, SevenLinesInTwoClearColumnsStayOneColumn)
{
    const auto columns = ScreenLayout::columns(twoPanes(4, 3));
    ASSERT_EQ(columns.size(), 1u);
    EXPECT_EQ(texts(columns[0]), (QStringList{"L0", "R0", "L1", "R1", "L2", "R2", "L3"}));
    EXPECT_FALSE(ScreenLayout::readingOrder(twoPanes(4, 3)).mainCount.has_value());
    // One more line and the same panes are columns.
    const auto split = ScreenLayout::columns(twoPanes(4, 4));
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(texts(split[0]), (QStringList{"L0", "L1", "L2", "L3"}));
    EXPECT_EQ(texts(split[1]), (QStringList{"R0", "R1", "R2", "R3"}));
}

TEST(ScreenLayoutTest, TableWhoseCellsShareRowsIsOneColumn)
{
    std::vector<Line> table;
    for (int i = 0; i < 6; ++i) {
        table.push_back(line(QStringLiteral("name%1").arg(i), 0.05, 0.1 + 0.05 * i, 0.2));
        // A little jitter in the row position, as recognition boxes have, still counts as the same row.
        table.push_back(line(QStringLiteral("value%1").arg(i), 0.6, 0.1 + 0.05 * i + 0.004, 0.2));
    }
    const auto columns = ScreenLayout::columns(table);
    ASSERT_EQ(columns.size(), 1u);
    EXPECT_EQ(columns[0].front().text, "name0");
    EXPECT_EQ(columns[0][1].text, "value0");
}

TEST(ScreenLayoutTest, AcceptsGutterWhenFewRowsAlign)
{
    // Two of six right lines share a row with the left pane: 2 ≤ 0.6 × 6, so the panes are columns.
    auto lines = twoPanes(6, 6);
    lines[6].top = lines[0].top;
    lines[7].top = lines[1].top;
    EXPECT_EQ(ScreenLayout::columns(lines).size(), 2u);
    // Four aligned rows exceed 0.6 × 6: a table.
    lines[8].top = lines[2].top;
    lines[9].top = lines[3].top;
    EXPECT_EQ(ScreenLayout::columns(lines).size(), 1u);
}

TEST(ScreenLayoutTest, RejectsGutterWithFewerThanThreeLinesOnASide)
{
    EXPECT_EQ(ScreenLayout::columns(twoPanes(6, 2)).size(), 1u);
    EXPECT_EQ(ScreenLayout::columns(twoPanes(5, 3)).size(), 2u);
}

TEST(ScreenLayoutTest, WideHeadingGoesIntoLeftmostColumn)
{
    auto lines = twoPanes(4, 4);
    lines.push_back(line(QStringLiteral("Heading"), 0.05, 0.02, 0.70));
    const auto columns = ScreenLayout::columns(lines);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].front().text, "Heading");
    EXPECT_EQ(columns[0].size(), 5u);
}

TEST(ScreenLayoutTest, RowOrder)
{
    struct Case
    {
        double secondTop;
        QStringList expected;
    };
    const Case cases[] = {
        {0.105, {"left", "right"}}, // nearly the same row: left to right
        {0.110, {"right", "left"}}, // different rows: top to bottom
        {0.1079, {"left", "right"}},
        {0.1081, {"right", "left"}},
    };
    for (const Case &c : cases) {
        std::vector<Line> lines{line(QStringLiteral("right"), 0.5, 0.100, 0.1),
                                line(QStringLiteral("left"), 0.1, c.secondTop, 0.1)};
        ScreenLayout::sortInRowOrder(lines);
        EXPECT_EQ(texts(lines), c.expected) << c.secondTop;
    }
}

TEST(ScreenLayoutTest, ContentPaneComesBeforeSidebar)
{
    std::vector<Line> lines;
    for (int i = 0; i < 10; ++i) {
        lines.push_back(line(QStringLiteral("Item %1").arg(i), 0.02, 0.10 + 0.05 * i, 0.10));
    }
    const QStringList paragraphs{
        "The quarterly report shows steady growth in every region",
        "Marketing spending stayed within the budget agreed in spring",
        "Customer satisfaction improved after the support overhaul",
        "Next quarter focuses on reliability and onboarding polish",
    };
    for (int i = 0; i < paragraphs.size(); ++i) {
        lines.push_back(line(paragraphs[i], 0.30, 0.125 + 0.2 * i, 0.55));
    }
    const auto order = ScreenLayout::readingOrder(lines);
    ASSERT_TRUE(order.mainCount.has_value());
    EXPECT_EQ(*order.mainCount, 4);
    ASSERT_EQ(order.lines.size(), 14u);
    EXPECT_EQ(QStringList(texts(order.lines).mid(0, 4)), paragraphs);
    EXPECT_EQ(order.lines[4].text, "Item 0");
    EXPECT_EQ(order.lines[13].text, "Item 9");
}

TEST(ScreenLayoutTest, ThreeColumnsFollowMainColumnLeftToRight)
{
    std::vector<Line> lines;
    for (int i = 0; i < 4; ++i) {
        lines.push_back(line(QStringLiteral("nav%1").arg(i), 0.02, 0.10 + 0.1 * i, 0.1));
        lines.push_back(line(QStringLiteral("message subject %1").arg(i), 0.25, 0.13 + 0.1 * i, 0.2));
        lines.push_back(line(QStringLiteral("x%1").arg(i), 0.7, 0.16 + 0.1 * i, 0.1));
    }
    const auto order = ScreenLayout::readingOrder(lines);
    ASSERT_EQ(ScreenLayout::columns(lines).size(), 3u);
    EXPECT_EQ(order.mainCount, 4);
    EXPECT_EQ(texts(order.lines),
              (QStringList{"message subject 0", "message subject 1", "message subject 2", "message subject 3", "nav0",
                           "nav1", "nav2", "nav3", "x0", "x1", "x2", "x3"}));
}

TEST(ScreenLayoutTest, TieInLettersGoesToLeftmostColumn)
{
    const auto order = ScreenLayout::readingOrder(twoPanes(4, 4));
    EXPECT_EQ(order.mainCount, 4);
    EXPECT_EQ(order.lines.front().text, "L0");
}

TEST(ScreenLayoutTest, DegenerateInput)
{
    const auto empty = ScreenLayout::readingOrder({});
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_FALSE(empty.mainCount.has_value());

    auto zeroWidth = twoPanes(4, 4);
    zeroWidth[2].width = 0;
    EXPECT_EQ(ScreenLayout::columns(zeroWidth).size(), 1u);

    // Gaps at the screen's edges are margins, not gutters.
    std::vector<Line> centred;
    for (int i = 0; i < 8; ++i) {
        centred.push_back(line(QStringLiteral("c%1").arg(i), 0.3, 0.1 * i, 0.3));
    }
    EXPECT_EQ(ScreenLayout::columns(centred).size(), 1u);
}

} // namespace
