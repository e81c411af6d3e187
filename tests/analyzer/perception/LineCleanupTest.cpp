// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "LineCleanup.h"

#include <gtest/gtest.h>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using Observation = TextRecognizer::Observation;

struct W
{
    QString text;
    int left;
    double confidence = 0.95;
    int height = 16;
};

// A line on row 100 whose words are about 9 pixels a letter wide, as the engine reports it.
Observation line(const std::vector<W> &words)
{
    Observation line;
    QStringList texts;
    for (const W &w : words) {
        const QRect box(w.left, 100 + 16 - w.height, 9 * int(w.text.size()), w.height);
        line.words.push_back({w.text, box, w.confidence});
        line.box |= box;
        texts.append(w.text);
    }
    line.text = texts.join(u' ');
    line.confidence = 0.9;
    return line;
}

QStringList texts(const std::vector<Observation> &lines)
{
    QStringList out;
    for (const Observation &l : lines)
        out.append(l.text);
    return out;
}

TEST(LineCleanupTest, KeepsTheWordsAPersonWouldRead)
{
    const Observation latin = line({{"Size", 0}, {"1.2", 60}});
    const std::pair<std::vector<Observation>, QStringList> cases[] = {
        // A column gutter parts a contact from a message; a time pushed to the right is its own line.
        {{line({{"Мама", 0}, {"Коллеги,", 400}, {"обсуждаем", 480}, {"план", 575}})},
         {"Мама", "Коллеги, обсуждаем план"}},
        {{line({{"Ольга", 0}, {"Иванова", 52}, {"10:32", 600}})}, {"Ольга Иванова", "10:32"}},
        {{line({{"File", 0}, {"Edit", 60}, {"View", 120}})}, {"File Edit View"}},
        // Unsure words go, a line of them too; a lone character needs more confidence.
        {{line({{"Lease", 0, 0.35}, {"agreement", 52}}), line({{"ооеее", 0, 0.48}})}, {"agreement"}},
        {{line({{"Спортзал", 0}, {"т", 80, 0.6}})}, {"Спортзал"}},
        // An unsure word in the other script goes, a sure one stays.
        {{line({{"image.png", 0}, {"(Ест)", 92, 0.8}}), line({{"Отключать", 0}, {"Bluetooth", 90, 0.93}})},
         {"image.png", "Отключать Bluetooth"}},
        // Look-alike letters take the script around them, or the page's when alone.
        {{line({{"Регистрация", 0}, {"Ha", 110}, {"конференцию", 140}})}, {"Регистрация На конференцию"}},
        {{latin, latin, line({{"МВ", 0}})}, {"Size 1.2", "Size 1.2", "MB"}},
        // Icons and check boxes beside a line go; a word of one letter at normal spacing stays.
        {{line({{"©", 0}, {"Credit", 30}, {"card", 90}}), line({{"О", 0, 0.86}, {"Paypal", 28}}),
          line({{"@", 0}, {"Mar", 20}, {"20", 52}})},
         {"Credit card", "Paypal", "Mar 20"}},
        {{line({{"Я", 0}, {"подготовлю", 14}}), line({{"1", 0}, {"hour", 16}, {"ago", 58}})},
         {"Я подготовлю", "1 hour ago"}},
        // Glyphs inside a line go, separators and units stay; so do window buttons at the end of a title bar.
        {{line({{"open", 0}, {"©", 42}, {"wants", 56}}), line({{"Trip", 0}, {"plan", 40}, {"—", 80}, {"Lisbon", 94}}),
          line({{"ниже", 0}, {"20", 42}, {"%", 64}})},
         {"open wants", "Trip plan — Lisbon", "ниже 20 %"}},
        {{line({{"Budget", 0}, {"2026.xlsx", 60}, {"—", 146}, {"Tabula", 160}, {"Sheets", 220}, {"-o.*x", 280, 0.6}})},
         {"Budget 2026.xlsx — Tabula Sheets"}},
    };
    for (const auto &[lines, expected] : cases)
        EXPECT_EQ(texts(LineCleanup::clean(lines)), expected);
}

TEST(LineCleanupTest, GivesEachPartItsOwnBoxAndTheConfidenceOfAllItsWords)
{
    // A badge taller than the text and a misread word: neither makes the line look taller or surer.
    const auto lines = LineCleanup::clean(
        {line({{"open", 0, 0.95, 30}, {"wants", 46}, {"merge", 100, 0.35}, {"3", 154}, {"commits", 300}})});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "open wants 3");
    EXPECT_EQ(lines[0].box, QRect(0, 100, 163, 16));
    EXPECT_NEAR(lines[0].confidence, (4 * 0.95 + 5 * 0.95 + 5 * 0.35 + 0.95) / 15, 1e-9);
    EXPECT_EQ(lines[1].box, QRect(300, 100, 63, 16));

    // Engines that report no words keep their lines as they are.
    const Observation plain{"Quarterly budget", QRect(10, 10, 200, 20), 0.4};
    const auto kept = LineCleanup::clean({plain});
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(std::pair(kept[0].text, kept[0].box), std::pair(plain.text, plain.box));
}

} // namespace
