// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OCRNamer.h"

#include <gtest/gtest.h>

namespace {

struct UsableCase
{
    const char *text;
    bool usable;
};

class UsableTest : public testing::TestWithParam<UsableCase>
{
};

TEST_P(UsableTest, TellsHeadingsFromChrome)
{
    EXPECT_EQ(OCRNamer::isUsable(QString::fromUtf8(GetParam().text)), GetParam().usable) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Lines, UsableTest,
                         testing::Values(UsableCase{"Quarterly report", true}, UsableCase{"ab", false},
                                         UsableCase{"Ab 1234567", false}, UsableCase{"abc 12", true},
                                         // Clocks, with or without AM/PM, colon or period.
                                         UsableCase{"10:42", false}, UsableCase{" 9.41 PM ", false},
                                         UsableCase{"10:42am", false}, UsableCase{"10:42 meeting", true},
                                         // Menu bars, in any case and either language.
                                         UsableCase{"File Edit View Window Help", false},
                                         UsableCase{"ФАЙЛ Правка Вид", false}, UsableCase{"Edit Profile", true},
                                         // Web addresses.
                                         UsableCase{"https://example.org/docs", false},
                                         UsableCase{"www.example.org", false}, UsableCase{"WWW.Example.org", true}));

ScreenshotFeatures::Line line(const char *text, double height, double top)
{
    return {QString::fromUtf8(text), height, top, 0.1, 0.9, 0.5};
}

TEST(OCRNamer, TakesTheMostProminentUsableLine)
{
    ScreenshotFeatures features;
    features.lines = {line("12:30", 0.09, 0.01), line("Release notes for version three", 0.02, 0.5),
                      line("Welcome back to the team dashboard", 0.05, 0.2)};
    EXPECT_EQ(OCRNamer::title(features, 8), u"Welcome back to the team dashboard"_qs);
}

TEST(OCRNamer, ExtendsAShortHeadingWithTheNextShortLine)
{
    ScreenshotFeatures features;
    features.lines = {line("Project Atlas", 0.06, 0.05),
                      line("A subtitle that runs on for far more than forty characters", 0.04, 0.1),
                      line("Project Atlas", 0.035, 0.6), line("Quarterly milestones", 0.03, 0.3),
                      line("Second short line", 0.02, 0.4)};
    EXPECT_EQ(OCRNamer::title(features, 8), u"Project Atlas Quarterly milestones"_qs);
}

TEST(OCRNamer, CutsToTheWordLimitAndGivesNothingWithoutUsableLines)
{
    ScreenshotFeatures features;
    features.lines = {line("one two three four five six seven eight nine ten eleven twelve", 0.05, 0.1)};
    EXPECT_EQ(OCRNamer::title(features, 8), u"one two three four five six seven eight"_qs);

    features.lines = {line("File Edit View", 0.05, 0.0), line("10:42", 0.05, 0.1), line("#1 42", 0.04, 0.2)};
    EXPECT_EQ(OCRNamer::title(features, 8), std::nullopt);
}

} // namespace
