// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnswerCleanup.h"

#include <gtest/gtest.h>

namespace {

struct TidyCase
{
    const char *answer;
    const char *expected;
};

class TidyTest : public testing::TestWithParam<TidyCase>
{
};

TEST_P(TidyTest, CleansTheAnswer)
{
    const TidyCase &c = GetParam();
    EXPECT_EQ(AnswerCleanup::tidy(QString::fromUtf8(c.answer)).toStdString(), std::string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TidyTest,
    testing::Values(
        // Only the first line, sentence, clause or double-spaced part survives.
        TidyCase{"  Pull request review\nThe screen shows a diff", "Pull request review"},
        TidyCase{"Pull request review. It shows a diff", "Pull request review"},
        TidyCase{"Invoice overview; totals below", "Invoice overview"},
        TidyCase{"Weather forecast  for Berlin", "Weather forecast"},
        // A short label before a colon goes; a long one or a colon without a space stays.
        TidyCase{"Name: Pull request review", "Pull request review"},
        TidyCase{"Deployment of the payments service: rollback", "Deployment of the payments service: rollback"},
        TidyCase{"Standup at 10:42 notes", "Standup at notes"},
        // Lead-ins naming the kind of picture.
        TidyCase{"Screenshot of the Network settings window", "the Network settings window"},
        TidyCase{"A screen capture showing: Calendar week view", "Calendar week view"},
        TidyCase{"Image — Kanban board", "Kanban board"}, TidyCase{"screenshot of", "screenshot"},
        TidyCase{"Screenshotter settings", "Screenshotter settings"},
        // Dates, times and time zones.
        TidyCase{"Meeting notes 2026-11-12", "Meeting notes"},
        TidyCase{"Flight status 12.11.2026 9:05 PM", "Flight status"},
        TidyCase{"Server log 23:59:59 +02:00", "Server log"},
        // Symbol-only words, long hyphen chains, trailing amounts.
        TidyCase{"Checkout page → ✓", "Checkout page"}, TidyCase{"Diagram a-b-c-d of flows", "Diagram of flows"},
        TidyCase{"Invoice total 12.500 ₽", "Invoice total"}, TidyCase{"Sales 120 $ 45,50", "Sales"},
        TidyCase{"Annual report 2025", "Annual report 2025"}, TidyCase{"Cart 3 items 12", "Cart 3 items 12"},
        // Dangling function words at the end, leading prepositions at the start.
        TidyCase{"Settings for", "Settings"}, TidyCase{"Настройки сети и", "Настройки сети"},
        TidyCase{"Flights (from)", "Flights"}, TidyCase{"from Berlin flights", "Berlin flights"},
        TidyCase{"В поезде Москва", "поезде Москва"}, TidyCase{"\"Quarterly roadmap\".", "Quarterly roadmap"},
        // Nothing worth keeping.
        TidyCase{"from", ""}, TidyCase{"and the date", ""}, TidyCase{"Go to it", ""}, TidyCase{"  ", ""},
        TidyCase{"Ёж", ""}, TidyCase{"Ёжик в тумане", "Ёжик в тумане"}));

} // namespace
