// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AIAvailability.h"

#include <gtest/gtest.h>

TEST(AIAvailability, EqualOnlyWithTheSameCaseAndReason)
{
    const AIAvailability values[] = {
        AIAvailability::available(),
        AIAvailability::deviceNotEligible(),
        AIAvailability::notEnabled(),
        AIAvailability::modelNotReady(),
        AIAvailability::unknown(QStringLiteral("HTTP 500")),
        AIAvailability::unknown(QStringLiteral("HTTP 502")),
        AIAvailability::unknown(QString()),
    };
    for (size_t i = 0; i < std::size(values); ++i) {
        for (size_t j = 0; j < std::size(values); ++j)
            EXPECT_EQ(values[i] == values[j], i == j)
                << values[i].debugDescription().toStdString() << " vs " << values[j].debugDescription().toStdString();
    }
    EXPECT_EQ(AIAvailability::unknown(QStringLiteral("x")), AIAvailability::unknown(QStringLiteral("x")));
    EXPECT_TRUE(AIAvailability::available().isAvailable());
    EXPECT_FALSE(AIAvailability::modelNotReady().isAvailable());
    EXPECT_EQ(AIAvailability::unknown(QStringLiteral("x")).reason(), QStringLiteral("x"));
}
