// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingOptions.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

TEST(NamingOptions, StoredFormRoundTripsUnderTheSixKeys)
{
    EXPECT_EQ(NamingOptions{}.toJson(), (QJsonObject{{"language", "auto"},
                                                     {"separator", "space"},
                                                     {"letterCase", "sentence"},
                                                     {"datePosition", "none"},
                                                     {"dateStyle", "date"},
                                                     {"maxLength", 60}}));
    // Out-of-range lengths are kept as stored; the builder clamps them when it uses them.
    const NamingOptions options{NameLanguage::ru,     NameSeparator::underscore, NameCase::title,
                                DatePosition::suffix, DateStyle::dateTime,       500};
    EXPECT_EQ(NamingOptions::fromJsonBytes(options.toJsonBytes()), options);
}

TEST(NamingOptions, AnyBadFieldFallsBackToTheDefaultsAsAWhole)
{
    struct Case
    {
        const char *key;
        QJsonValue value;
    };
    const Case cases[] = {
        {"maxLength", QJsonValue::Undefined},
        {"letterCase", "upper"},
        {"separator", "Space"},
        {"dateStyle", "datetime"},
        {"datePosition", 1},
        {"maxLength", "60"},
        {"maxLength", 60.5},
        {"maxLength", 1e12},
        {"letterCase", QJsonArray()},
        {"language", "de"},
    };
    // A stored value that is wrong in one field must not keep its other, valid fields.
    const QJsonObject valid = NamingOptions{NameLanguage::ru,     NameSeparator::dash, NameCase::lower,
                                            DatePosition::prefix, DateStyle::dateTime, 40}
                                  .toJson();
    for (const Case &c : cases) {
        QJsonObject object = valid;
        if (c.value.isUndefined())
            object.remove(QLatin1String(c.key));
        else
            object.insert(QLatin1String(c.key), c.value);
        const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
        EXPECT_FALSE(NamingOptions::fromJsonBytes(bytes)) << bytes.constData();
        EXPECT_EQ(NamingOptions::fromJsonOrDefault(bytes), NamingOptions{}) << bytes.constData();
    }
    EXPECT_EQ(NamingOptions::fromJsonOrDefault("not json"), NamingOptions{});
    EXPECT_EQ(NamingOptions::fromJsonOrDefault("[]"), NamingOptions{});
}

TEST(NamingOptions, DateChoiceMapsBothFieldsAndNoneKeepsTheStyle)
{
    for (DateChoice choice : allDateChoices)
        EXPECT_EQ(dateChoice(withDateChoice(NamingOptions{}, choice)), choice);

    NamingOptions options = withDateChoice(NamingOptions{}, DateChoice::suffixTime);
    EXPECT_EQ(options.datePosition, DatePosition::suffix);
    EXPECT_EQ(options.dateStyle, DateStyle::dateTime);
    options = withDateChoice(options, DateChoice::none);
    EXPECT_EQ(options.datePosition, DatePosition::none);
    EXPECT_EQ(options.dateStyle, DateStyle::dateTime);
    options = withDateChoice(options, DateChoice::prefix);
    EXPECT_EQ(options.datePosition, DatePosition::prefix);
    EXPECT_EQ(options.dateStyle, DateStyle::date);
}

TEST(NamingOptions, SliderStoresMultiplesOfFiveRoundingHalvesUp)
{
    const std::pair<double, int> cases[] = {{62.4, 60}, {62.5, 65}, {22.49, 20}, {117.6, 120}, {120.0, 120}};
    for (const auto &[slider, stored] : cases)
        EXPECT_EQ(maxLengthFromSlider(slider), stored) << slider;
}
