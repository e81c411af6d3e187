// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "JsonReader.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

JsonReader reader(const char *json)
{
    return JsonReader(*JsonReader::parseObject(QByteArray(json), nullptr));
}

} // namespace

TEST(JsonReader, IntegersKeepAll64BitsAndThoseThatCannotBeRepresentedAreRejected)
{
    const struct
    {
        const char *json;
        std::optional<qint64> expected;
    } cases[] = {
        {R"({"n":-1})", -1},
        {R"({"n":9007199254740993})", 9007199254740993},
        {R"({"n":9223372036854775807})", std::numeric_limits<qint64>::max()},
        {R"({"n":-9223372036854775808})", std::numeric_limits<qint64>::min()},
        {R"({"n":-4611686018427387907})", -(qint64(1) << 62) - 3},
        {R"({"n":1e3})", 1000},
        {R"({"n":-0})", 0},
        {R"({"n":9223372036854775808})", std::nullopt},
        {R"({"n":18446744073709551615})", std::nullopt},
        {R"({"n":1.5})", std::nullopt},
        {R"({"n":"5"})", std::nullopt},
        {R"({"n":true})", std::nullopt},
        {R"({"n":null})", std::nullopt},
        {R"({})", std::nullopt},
    };
    for (const auto &c : cases) {
        JsonReader read = reader(c.json);
        const qint64 value = read.integer(QStringLiteral("n"));
        EXPECT_EQ(read.ok(), c.expected.has_value()) << c.json;
        if (c.expected) {
            EXPECT_EQ(value, *c.expected) << c.json;
        }
    }
}

TEST(JsonReader, NullAndAbsentOptionalsAreTheSameAndTheFirstErrorIsKept)
{
    JsonReader read = reader(R"({"a":null,"b":"x","c":1,"d":true})");
    EXPECT_FALSE(read.optionalString(QStringLiteral("a")));
    EXPECT_FALSE(read.optionalInteger(QStringLiteral("missing")));
    EXPECT_FALSE(read.optionalBoolean(QStringLiteral("a")));
    EXPECT_EQ(read.optionalString(QStringLiteral("b")), QStringLiteral("x"));
    EXPECT_TRUE(read.ok());
    read.boolean(QStringLiteral("c"));
    read.string(QStringLiteral("d"));
    EXPECT_FALSE(read.ok());
    EXPECT_TRUE(read.error().startsWith(QStringLiteral("\"c\""))) << read.error().toStdString();
}
