// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnswerCleanup.h"

#include <gtest/gtest.h>

TEST(AnswerCleanup, TidiesTheModelsAnswerIntoATitle)
{
    const std::pair<const char *, const char *> cases[] = {
        // Only the first line, sentence, clause or double-spaced part survives.
        {"  Pull request review\nThe screen shows a diff", "Pull request review"},
        {"Pull request review. It shows a diff", "Pull request review"},
        {"Invoice overview; totals below", "Invoice overview"},
        {"Weather forecast  for Berlin", "Weather forecast"},
        // A short label before a colon goes; a long one or a colon without a space stays.
        {"Name: Pull request review", "Pull request review"},
        {"Deployment of the payments service: rollback", "Deployment of the payments service: rollback"},
        {"Standup at 10:42 notes", "Standup at notes"},
        // Lead-ins naming the kind of picture.
        {"Screenshot of the Network settings window", "the Network settings window"},
        {"A screen capture showing: Calendar week view", "Calendar week view"},
        {"Image — Kanban board", "Kanban board"},
        {"Screenshotter settings", "Screenshotter settings"},
        // Dates, times and time zones.
        {"Meeting notes 2026-11-12", "Meeting notes"},
        {"Flight status 12.11.2026 9:05 PM", "Flight status"},
        {"Server log 23:59:59 +02:00", "Server log"},
        // Symbol-only words, long hyphen chains, trailing amounts.
        {"Checkout page → ✓", "Checkout page"},
        {"Diagram a-b-c-d of flows", "Diagram of flows"},
        {"Invoice total 12.500 ₽", "Invoice total"},
        {"Sales 120 $ 45,50", "Sales"},
        {"Cart 3 items 12", "Cart 3 items 12"},
        // Dangling function words at the end, leading prepositions at the start.
        {"Настройки сети и", "Настройки сети"},
        {"Flights (from)", "Flights"},
        {"В поезде Москва", "поезде Москва"},
        {"\"Quarterly roadmap\".", "Quarterly roadmap"},
        // Nothing worth keeping.
        {"and the date", ""},
        {"Ёж", ""},
        {"Ёжик в тумане", "Ёжик в тумане"},
    };
    for (const auto &[answer, expected] : cases)
        EXPECT_EQ(AnswerCleanup::tidy(QString::fromUtf8(answer)).toStdString(), std::string(expected));
}
