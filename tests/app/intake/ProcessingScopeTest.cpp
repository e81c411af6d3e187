// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ProcessingScope.h"

#include <gtest/gtest.h>

TEST(ProcessingScopeTest, rawValuesRoundTripAndNothingElseDecodes)
{
    for (const ProcessingScope scope : ProcessingScopes::all)
        EXPECT_EQ(ProcessingScopes::fromRawValue(ProcessingScopes::rawValue(scope)), scope);
    EXPECT_EQ(ProcessingScopes::rawValue(ProcessingScope::allImages), QStringLiteral("allImages"));
    for (const char *unknown : {"", "AllImages", "all", "screenshots "})
        EXPECT_EQ(ProcessingScopes::fromRawValue(QString::fromLatin1(unknown)), std::nullopt) << unknown;
}
