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

ScreenshotFeatures features(const QStringList &texts, std::optional<int> mainCount = std::nullopt)
{
    ScreenshotFeatures f;
    for (const QString &text : texts)
        f.lines.push_back(line(text));
    f.mainColumnCount = mainCount;
    return f;
}

QStringList texts(const std::vector<Line> &lines)
{
    QStringList result;
    for (const Line &l : lines)
        result.append(l.text);
    return result;
}

TEST(ScreenshotFeaturesTest, ProminenceFavoursHighTallConfidentWordyLinesAndMeaningNeedsWords)
{
    const QString twelve = QStringLiteral("Twelve letter");
    const double base = ScreenshotFeatures::prominence(line(twelve)); // 12 letters, top 0.7
    EXPECT_DOUBLE_EQ(base, 0.02);
    const std::pair<Line, double> cases[] = {
        {line(twelve, 0.2499), 1.3},
        {line(twelve, 0.25), 1.1},
        {line(twelve, 0.5), 1.0},
        {line(twelve, 0.7, 0.1, 0.04), 2.0},
        {line(twelve, 0.7, 0.1, 0.02, 0.5), 0.75},
        {line(QStringLiteral("Sixsix")), 0.7},
        {line(QStringLiteral("Twenty four letters here")), 1.0},
        {line(QStringLiteral("123456789012")), 0.4}, // digits are not letters
        {line(QStringLiteral("Привет, мир!")), 0.4 + 0.6 * 9 / 12},
    };
    for (const auto &[l, factor] : cases)
        EXPECT_NEAR(ScreenshotFeatures::prominence(l) / base, factor, 1e-9) << l.text.toStdString();
    ScreenshotFeatures f = features({"same a", "same b"});
    f.lines.insert(f.lines.begin(), {line("footer text here", 0.9), line("Title line", 0.05)});
    EXPECT_EQ(texts(f.prominentLines()), (QStringList{"Title line", "footer text here", "same a", "same b"}));

    // Meaningful text needs two words of four letters over all lines; any non-letter, digits too, splits words.
    for (const auto &[lines, meaningful] : {std::pair{QStringList{"Open", "file"}, true},
                                            {{"Hi there", "ok"}, false},
                                            {{"abcd-efgh"}, true},
                                            {{"abc1defg"}, false},
                                            {{"Открыть настройки"}, true}})
        EXPECT_EQ(features(lines).hasMeaningfulText(), meaningful) << lines.join('|').toStdString();
}

TEST(ScreenshotFeaturesTest, StandaloneLines)
{
    ScreenshotFeatures f;
    f.lines = {
        line("Heading", 0.02, 0.1, 0.04), line("para 1", 0.10),      line("para 2", 0.13),      line("para 3", 0.16),
        line("indented", 0.19, 0.13),                                                           // left differs by 0.03
        line("far below", 0.50),          line("twin a", 0.80, 0.5), line("twin b", 0.80, 0.5), // same row: not a block
        line("small", 0.83, 0.5, 0.015), // height differs by 25 %
    };
    EXPECT_EQ(texts(f.standaloneLines()),
              (QStringList{"Heading", "indented", "far below", "twin a", "twin b", "small"}));
}

TEST(ScreenshotFeaturesTest, CondensedTextCountsRepeatedKeysOnceAndKeepsToItsBudgetInGraphemes)
{
    // "Item 12" has its own key ("Item 00"), unlike "Item 1" and "Item 2" ("Item 0").
    EXPECT_EQ(features({"Item 1", "Settings", "Item 2", "Item 12"}).condensedText(100),
              "Item 1 ×2\nSettings\nItem 12\n");

    // "Item 1 ×2\n" is 10 characters, "Settings\n" 9, "ab\n" 3; the run stops at the first line that does not fit.
    const auto f = features({"Item 1", "Item 2", "Settings", "ab"});
    for (const auto &[budget, expected] :
         {std::pair{22, "Item 1 ×2\nSettings\nab\n"}, std::pair{21, "Item 1 ×2\nSettings\n"},
          std::pair{18, "Item 1 ×2\n"}, std::pair{9, ""}}) {
        EXPECT_EQ(f.condensedText(budget), QString::fromUtf8(expected)) << budget;
    }

    // Main column ⌊3 × 20 / 4⌋ = 15, the rest 20 − 11 − 1 = 8; at 12 the rest (5) is too small for "Gamma\n".
    const auto split = features({"Alpha", "Beta", "Gamma"}, 2);
    EXPECT_EQ(split.condensedText(20), "Alpha\nBeta\n\nGamma\n");
    EXPECT_EQ(split.condensedText(12), "Alpha\n");
    EXPECT_EQ(features({"Alpha", "Beta", "Gamma"}, 3).condensedText(17), "Alpha\nBeta\nGamma\n");
    EXPECT_EQ(features({"Row 1", "Title", "Row 2", "Side"}, 2).condensedText(100), "Row 1 ×2\nTitle\n\nSide\n")
        << "keys seen in the main column count for the rest";

    // Graphemes are counted, not code units.
    const QString decomposed = QString::fromUtf8("e\xcc\x81te\xcc\x81"); // "été" with combining accents
    const QString flag = QString::fromUtf8("\xf0\x9f\x87\xb7\xf0\x9f\x87\xba");
    EXPECT_EQ(ScreenshotFeatures::graphemeCount(flag + flag), 2);
    const auto graphemes = features({decomposed, flag + QStringLiteral(" ok")});
    EXPECT_EQ(graphemes.condensedText(9), decomposed + "\n" + flag + " ok\n");
    EXPECT_EQ(graphemes.condensedText(8), decomposed + "\n");
}

} // namespace
