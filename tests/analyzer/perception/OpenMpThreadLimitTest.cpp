// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OpenMpThreadLimit.h"

#include <gtest/gtest.h>

namespace {

TEST(OpenMpThreadLimitTest, RestartsOnlyWithoutALimit)
{
    EXPECT_TRUE(OpenMpThreadLimit::needsRestart(nullptr));
    EXPECT_TRUE(OpenMpThreadLimit::needsRestart(""));
    EXPECT_FALSE(OpenMpThreadLimit::needsRestart("1"));
    EXPECT_FALSE(OpenMpThreadLimit::needsRestart("4")); // the user's own choice stays
}

} // namespace
