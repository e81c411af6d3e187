// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Titles.h"

#include "L10n.h"

#include <gtest/gtest.h>

TEST(Titles, AvailabilityAndEngineTags)
{
    L10n::apply(InterfaceLanguage::en);
    const struct
    {
        AIAvailability availability;
        const char *key;
    } cases[] = {
        {AIAvailability::available(), "ai.status.available"},
        {AIAvailability::deviceNotEligible(), "ai.status.notEligible"},
        {AIAvailability::notEnabled(), "ai.status.notEnabled"},
        {AIAvailability::modelNotReady(), "ai.status.notReady"},
        {AIAvailability::unknown(QStringLiteral("HTTP 500")), "ai.status.unknown"},
        {AIAvailability::unknown(QString()), "ai.status.unknown"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Titles::title(c.availability), L(c.key));
        EXPECT_NE(Titles::title(c.availability), QString::fromLatin1(c.key)) << "no text for " << c.key;
    }
    EXPECT_TRUE(Titles::tagTitle(NamingEngineKind::ai).isEmpty());
    EXPECT_EQ(Titles::tagTitle(NamingEngineKind::ocr), L("tag.ocr"));
    EXPECT_EQ(Titles::tagTitle(NamingEngineKind::manual), L("tag.manual"));
    EXPECT_NE(Titles::tagTitle(NamingEngineKind::ocr), Titles::tagTitle(NamingEngineKind::manual));
}
