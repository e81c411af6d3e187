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

TEST(JsonReader, IntegersKeepAll64BitsAndOptionalsTreatNullAsAbsentAndTheFirstErrorIsKept)
{
    const auto reads = [](const char *json, std::optional<qint64> expected) {
        JsonReader read = reader(json);
        const qint64 value = read.integer(u"n"_qs);
        EXPECT_EQ(read.ok() ? std::optional(value) : std::nullopt, expected) << json;
    };
    reads(R"({"n":9007199254740993})", 9007199254740993);
    reads(R"({"n":9223372036854775807})", std::numeric_limits<qint64>::max());
    reads(R"({"n":-9223372036854775808})", std::numeric_limits<qint64>::min());
    reads(R"({"n":1e3})", 1000);
    reads(R"({"n":9223372036854775808})", std::nullopt);
    reads(R"({"n":1.5})", std::nullopt);
    reads(R"({"n":"5"})", std::nullopt);
    reads(R"({})", std::nullopt);

    JsonReader read = reader(R"({"a":null,"b":"x","c":1,"d":true})");
    EXPECT_FALSE(read.optionalString(u"a"_qs));
    EXPECT_FALSE(read.optionalInteger(u"missing"_qs));
    EXPECT_EQ(read.optionalString(u"b"_qs), u"x"_qs);
    EXPECT_TRUE(read.ok());
    read.boolean(u"c"_qs);
    read.string(u"d"_qs);
    EXPECT_FALSE(read.ok());
    EXPECT_TRUE(read.error().startsWith(u"\"c\""_qs)) << read.error().toStdString();
}
