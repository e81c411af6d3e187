// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OCRNamer.h"

#include <gtest/gtest.h>

namespace {

TEST(OCRNamer, TellsHeadingsFromChrome)
{
    const std::pair<const char *, bool> cases[] = {
        {"Quarterly report", true},
        {"ab", false},
        {"Ab 1234567", false},
        {"abc 12", true},
        // Clocks, with or without AM/PM, colon or period.
        {"10:42", false},
        {" 9.41 PM ", false},
        {"10:42am", false},
        {"10:42 meeting", true},
        // Menu bars, in any case and either language.
        {"File Edit View Window Help", false},
        {"ФАЙЛ Правка Вид", false},
        {"Edit Profile", true},
        // Web addresses.
        {"https://example.org/docs", false},
        {"www.example.org", false},
        {"WWW.Example.org", true},
    };
    for (const auto &[text, usable] : cases)
        EXPECT_EQ(OCRNamer::isUsable(QString::fromUtf8(text)), usable) << text;
}

ScreenshotFeatures::Line line(const char *text, double height, double top)
{
    return {QString::fromUtf8(text), height, top, 0.1, 0.9, 0.5};
}

TEST(OCRNamer, TitleIsTheMostProminentUsableLineExtendedOrCutToTheWordLimit)
{
    ScreenshotFeatures features;
    features.lines = {line("12:30", 0.09, 0.01), line("Release notes for version three", 0.02, 0.5),
                      line("Welcome back to the team dashboard", 0.05, 0.2)};
    EXPECT_EQ(OCRNamer::title(features, 8), u"Welcome back to the team dashboard"_qs);

    features.lines = {line("Project Atlas", 0.06, 0.05),
                      line("A subtitle that runs on for far more than forty characters", 0.04, 0.1),
                      line("Project Atlas", 0.035, 0.6), line("Quarterly milestones", 0.03, 0.3),
                      line("Second short line", 0.02, 0.4)};
    EXPECT_EQ(OCRNamer::title(features, 8), u"Project Atlas Quarterly milestones"_qs);

    // Cut to the word limit; nothing without a usable line.
    features.lines = {line("one two three four five six seven eight nine ten eleven twelve", 0.05, 0.1)};
    EXPECT_EQ(OCRNamer::title(features, 8), u"one two three four five six seven eight"_qs);

    features.lines = {line("File Edit View", 0.05, 0.0), line("10:42", 0.05, 0.1), line("#1 42", 0.04, 0.2)};
    EXPECT_EQ(OCRNamer::title(features, 8), std::nullopt);
}

} // namespace
