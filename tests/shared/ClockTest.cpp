// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Clock.h"
#include "TestClock.h"

#include <gtest/gtest.h>

TEST(Clock, SystemClockFollowsWallTime)
{
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = Clock::system().now();
    EXPECT_LE(before, now);
    EXPECT_LE(now, QDateTime::currentDateTime());
}

TEST(Clock, TestClockMovesOnlyWhenTold)
{
    TestClock clock;
    const QDateTime start = clock.now();
    clock.advance(90);
    EXPECT_EQ(start.secsTo(clock.now()), 90);
}
