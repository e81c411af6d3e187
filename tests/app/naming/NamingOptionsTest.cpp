// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingOptions.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

QByteArray withField(const char *key, const QJsonValue &value)
{
    QJsonObject object = NamingOptions{}.toJson();
    if (value.isUndefined())
        object.remove(QLatin1String(key));
    else
        object.insert(QLatin1String(key), value);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

TEST(NamingOptions, DefaultsEncodeToTheSixStoredKeys)
{
    const QJsonObject json = NamingOptions{}.toJson();
    EXPECT_EQ(json, (QJsonObject{{"language", "auto"},
                                 {"separator", "space"},
                                 {"letterCase", "sentence"},
                                 {"datePosition", "none"},
                                 {"dateStyle", "date"},
                                 {"maxLength", 60}}));
}

TEST(NamingOptions, EveryValueSurvivesARoundTrip)
{
    const NamingOptions options{NameLanguage::ru,     NameSeparator::underscore, NameCase::title,
                                DatePosition::suffix, DateStyle::dateTime,       35};
    EXPECT_EQ(NamingOptions::fromJsonBytes(options.toJsonBytes()), options);
    // Values only stored data can hold are kept as they are; the builder clamps them when it uses them.
    const NamingOptions extreme{NameLanguage::en,     NameSeparator::dash, NameCase::lower,
                                DatePosition::prefix, DateStyle::date,     500};
    EXPECT_EQ(NamingOptions::fromJsonBytes(extreme.toJsonBytes()), extreme);
}

TEST(NamingOptions, AnyBadFieldFallsBackToTheDefaultsAsAWhole)
{
    const QJsonValue missing;
    struct Case
    {
        const char *key;
        QJsonValue value;
    };
    const Case cases[] = {
        {"maxLength", missing}, {"language", missing},     {"letterCase", "upper"},     {"language", "de"},
        {"separator", "Space"}, {"dateStyle", "datetime"}, {"datePosition", 1},         {"maxLength", "60"},
        {"maxLength", 60.5},    {"maxLength", 1e12},       {"separator", QJsonValue()}, {"letterCase", QJsonArray()},
    };
    for (const Case &c : cases) {
        const QByteArray bytes = withField(c.key, c.value);
        EXPECT_FALSE(NamingOptions::fromJsonBytes(bytes)) << bytes.constData();
    }

    // A stored value that is wrong in one field must not keep its other, valid fields.
    QJsonObject object = NamingOptions{NameLanguage::ru,     NameSeparator::dash, NameCase::lower,
                                       DatePosition::prefix, DateStyle::dateTime, 40}
                             .toJson();
    object.remove(QStringLiteral("maxLength"));
    EXPECT_EQ(NamingOptions::fromJsonOrDefault(QJsonDocument(object).toJson()), NamingOptions{});
    EXPECT_EQ(NamingOptions::fromJsonOrDefault("not json"), NamingOptions{});
    EXPECT_EQ(NamingOptions::fromJsonOrDefault("[]"), NamingOptions{});
}

TEST(NamingOptions, DateChoiceReadsBothFields)
{
    struct Case
    {
        DatePosition position;
        DateStyle style;
        DateChoice expected;
    };
    const Case cases[] = {
        {DatePosition::none, DateStyle::date, DateChoice::none},
        {DatePosition::none, DateStyle::dateTime, DateChoice::none},
        {DatePosition::prefix, DateStyle::date, DateChoice::prefix},
        {DatePosition::suffix, DateStyle::date, DateChoice::suffix},
        {DatePosition::prefix, DateStyle::dateTime, DateChoice::prefixTime},
        {DatePosition::suffix, DateStyle::dateTime, DateChoice::suffixTime},
    };
    for (const Case &c : cases) {
        NamingOptions options;
        options.datePosition = c.position;
        options.dateStyle = c.style;
        EXPECT_EQ(dateChoice(options), c.expected) << rawValue(c.position).toStdString();
    }
}

TEST(NamingOptions, DateChoiceWritesBothFieldsExceptForNone)
{
    NamingOptions options;
    options.maxLength = 45;
    options = withDateChoice(options, DateChoice::suffixTime);
    EXPECT_EQ(options.datePosition, DatePosition::suffix);
    EXPECT_EQ(options.dateStyle, DateStyle::dateTime);

    options = withDateChoice(options, DateChoice::none);
    EXPECT_EQ(options.datePosition, DatePosition::none);
    EXPECT_EQ(options.dateStyle, DateStyle::dateTime);

    options = withDateChoice(options, DateChoice::prefix);
    EXPECT_EQ(options.datePosition, DatePosition::prefix);
    EXPECT_EQ(options.dateStyle, DateStyle::date);
    EXPECT_EQ(options.maxLength, 45);

    for (DateChoice choice : allDateChoices)
        EXPECT_EQ(dateChoice(withDateChoice(NamingOptions{}, choice)), choice);
    EXPECT_STREQ(labelKey(DateChoice::prefixTime), "date.prefixTime");
    EXPECT_TRUE(dividerAfter(DateChoice::none));
    EXPECT_FALSE(dividerAfter(DateChoice::prefix));
    EXPECT_TRUE(dividerAfter(DateChoice::suffix));
}

TEST(NamingOptions, SliderStoresMultiplesOfFiveRoundingHalvesUp)
{
    const std::pair<double, int> cases[] = {
        {62.4, 60}, {62.5, 65}, {20.0, 20}, {22.49, 20}, {22.5, 25}, {117.6, 120}, {120.0, 120}, {60.0, 60},
    };
    for (const auto &[slider, stored] : cases)
        EXPECT_EQ(maxLengthFromSlider(slider), stored) << slider;
}
