// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenshotFeatures.h"

#include <gtest/gtest.h>

namespace {

using Line = ScreenshotFeatures::Line;

Line line(const QString &text, double top = 0.7, double left = 0.1, double height = 0.02, double confidence = 1.0)
{
    return Line{text, height, top, left, confidence, 0.3};
}

ScreenshotFeatures features(std::initializer_list<Line> lines, std::optional<int> mainCount = std::nullopt)
{
    ScreenshotFeatures f;
    f.lines = lines;
    f.mainColumnCount = mainCount;
    return f;
}

TEST(ScreenshotFeaturesTest, ProminenceFactors)
{
    const double base = ScreenshotFeatures::prominence(line(QStringLiteral("Twelve letter"))); // 12 letters, top 0.7
    EXPECT_DOUBLE_EQ(base, 0.02);
    struct Case
    {
        Line line;
        double factor;
    };
    const Case cases[] = {
        {line(QStringLiteral("Twelve letter"), 0.1), 1.3},
        {line(QStringLiteral("Twelve letter"), 0.2499), 1.3},
        {line(QStringLiteral("Twelve letter"), 0.25), 1.1},
        {line(QStringLiteral("Twelve letter"), 0.4999), 1.1},
        {line(QStringLiteral("Twelve letter"), 0.5), 1.0},
        {line(QStringLiteral("Twelve letter"), 0.7, 0.1, 0.04), 2.0},
        {line(QStringLiteral("Twelve letter"), 0.7, 0.1, 0.02, 0.0), 0.5},
        {line(QStringLiteral("Twelve letter"), 0.7, 0.1, 0.02, 0.5), 0.75},
        {line(QStringLiteral("Sixsix")), 0.7},
        {line(QStringLiteral("Twenty four letters here")), 1.0},
        {line(QStringLiteral("123456789012")), 0.4}, // digits are not letters
        {line(QStringLiteral("Привет, мир!")), 0.4 + 0.6 * 9 / 12},
    };
    for (const Case &c : cases) {
        EXPECT_NEAR(ScreenshotFeatures::prominence(c.line) / base, c.factor, 1e-9) << c.line.text.toStdString();
    }
}

TEST(ScreenshotFeaturesTest, ProminentLinesSortStably)
{
    const auto f = features({line(QStringLiteral("footer text here"), 0.9), line(QStringLiteral("Title line"), 0.05),
                             line(QStringLiteral("same a")), line(QStringLiteral("same b"))});
    QStringList order;
    for (const Line &l : f.prominentLines()) {
        order.append(l.text);
    }
    EXPECT_EQ(order, (QStringList{"Title line", "footer text here", "same a", "same b"}));
}

TEST(ScreenshotFeaturesTest, MeaningfulText)
{
    struct Case
    {
        QStringList lines;
        bool meaningful;
    };
    const Case cases[] = {
        {{"Open settings"}, true},
        {{"Open", "file"}, true},    // words are counted over all lines
        {{"Hi there", "ok"}, false}, // only one word of four letters
        {{"abcd-efgh"}, true},       // any non-letter splits words
        {{"abc1defg"}, false},       // digits split too: "abc" and "defg"
        {{"12345 67890", "2026-11-12"}, false},
        {{"Открыть настройки"}, true},
        {{}, false},
    };
    for (const Case &c : cases) {
        ScreenshotFeatures f;
        for (const QString &text : c.lines) {
            f.lines.push_back(line(text));
        }
        EXPECT_EQ(f.hasMeaningfulText(), c.meaningful) << c.lines.join('|').toStdString();
    }
}

TEST(ScreenshotFeaturesTest, StandaloneLines)
{
    const auto f = features({
        line(QStringLiteral("Heading"), 0.02, 0.1, 0.04), line(QStringLiteral("para 1"), 0.10),
        line(QStringLiteral("para 2"), 0.13), line(QStringLiteral("para 3"), 0.16),
        line(QStringLiteral("indented"), 0.19, 0.13), // left differs by 0.03
        line(QStringLiteral("far below"), 0.50),
        line(QStringLiteral("twin a"), 0.80, 0.5), // same row, same edge: not a block
        line(QStringLiteral("twin b"), 0.80, 0.5),
        line(QStringLiteral("small"), 0.83, 0.5, 0.015), // height differs by 25 %
    });
    QStringList standalone;
    for (const Line &l : f.standaloneLines()) {
        standalone.append(l.text);
    }
    EXPECT_EQ(standalone, (QStringList{"Heading", "indented", "far below", "twin a", "twin b", "small"}));
}

TEST(ScreenshotFeaturesTest, CondensedTextCountsRepeatedKeysOnce)
{
    const auto f = features({line(QStringLiteral("Item 1")), line(QStringLiteral("Settings")),
                             line(QStringLiteral("Item 2")), line(QStringLiteral("Item 12"))});
    // "Item 12" has its own key ("Item 00"), unlike "Item 1" and "Item 2" ("Item 0").
    EXPECT_EQ(f.condensedText(100), "Item 1 ×2\nSettings\nItem 12\n");
}

TEST(ScreenshotFeaturesTest, CondensedTextBudgets)
{
    const auto f = features({line(QStringLiteral("Item 1")), line(QStringLiteral("Item 2")),
                             line(QStringLiteral("Settings")), line(QStringLiteral("ab"))});
    // "Item 1 ×2\n" is 10 characters, "Settings\n" 9, "ab\n" 3.
    struct Case
    {
        int budget;
        QString expected;
    };
    const Case cases[] = {
        {22, "Item 1 ×2\nSettings\nab\n"},
        {21, "Item 1 ×2\nSettings\n"},
        {19, "Item 1 ×2\nSettings\n"},
        {18, "Item 1 ×2\n"}, // the run stops at "Settings"; the shorter "ab" after it is not taken
        {9, ""},
        {0, ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(f.condensedText(c.budget), c.expected) << c.budget;
    }
}

TEST(ScreenshotFeaturesTest, CondensedTextSplitsBudgetBetweenMainColumnAndRest)
{
    const auto f =
        features({line(QStringLiteral("Alpha")), line(QStringLiteral("Beta")), line(QStringLiteral("Gamma"))}, 2);
    // Main column gets ⌊3 × 20 / 4⌋ = 15; the rest 20 − 11 − 1 = 8.
    EXPECT_EQ(f.condensedText(20), "Alpha\nBeta\n\nGamma\n");
    // Main column gets 9: only "Alpha\n"; the rest 12 − 6 − 1 = 5 is too small for "Gamma\n".
    EXPECT_EQ(f.condensedText(12), "Alpha\n");

    auto whole = f;
    whole.mainColumnCount = 3; // not fewer than the lines: one run with the full budget
    EXPECT_EQ(whole.condensedText(17), "Alpha\nBeta\nGamma\n");
    whole.mainColumnCount = 0;
    EXPECT_EQ(whole.condensedText(17), "Alpha\nBeta\nGamma\n");
}

TEST(ScreenshotFeaturesTest, CondensedTextSharesSeenKeysAcrossParts)
{
    const auto f = features({line(QStringLiteral("Row 1")), line(QStringLiteral("Title")),
                             line(QStringLiteral("Row 2")), line(QStringLiteral("Side"))},
                            2);
    EXPECT_EQ(f.condensedText(100), "Row 1 ×2\nTitle\n\nSide\n");
}

TEST(ScreenshotFeaturesTest, CondensedTextCountsGraphemes)
{
    const QString decomposed = QString::fromUtf8("e\xcc\x81te\xcc\x81"); // "été" with combining accents
    const QString flag = QString::fromUtf8("\xf0\x9f\x87\xb7\xf0\x9f\x87\xba");
    EXPECT_EQ(ScreenshotFeatures::graphemeCount(decomposed), 3);
    EXPECT_EQ(ScreenshotFeatures::graphemeCount(flag + flag), 2);
    EXPECT_EQ(ScreenshotFeatures::graphemeCount(QString()), 0);
    const auto f = features({line(decomposed), line(flag + QStringLiteral(" ok"))});
    EXPECT_EQ(f.condensedText(9), decomposed + "\n" + flag + " ok\n");
    EXPECT_EQ(f.condensedText(8), decomposed + "\n");
}

TEST(ScreenshotFeaturesTest, CyrillicShare)
{
    struct Case
    {
        QString text;
        double share;
    };
    const Case cases[] = {
        {"", 0.0},
        {"123 !?", 0.0},
        {"Hello", 0.0},
        {"Привет", 1.0},
        {"Hi Пр", 0.5},
        {"Файл.txt 2026", 4.0 / 7.0},
        {QString::fromUtf8("\xd3\x81\xd4\xaf"), 1.0}, // U+04C1 and U+052F, the end of the range
        {QString::fromUtf8("\xd4\xb1"), 0.0},         // U+0531, Armenian
    };
    for (const Case &c : cases) {
        EXPECT_NEAR(ScreenshotFeatures::cyrillicShare(c.text), c.share, 1e-9) << c.text.toStdString();
    }
}

} // namespace
