// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingOptions.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <cmath>

TEST(NamingOptions, StoredFormRoundTripsAndAnyBadFieldFailsTheWhole)
{
    // The analyzer reads these keys and values.
    EXPECT_EQ(NamingOptions{}.toJson(), (QJsonObject{{"language", "auto"},
                                                     {"separator", "space"},
                                                     {"letterCase", "sentence"},
                                                     {"datePosition", "none"},
                                                     {"dateStyle", "date"},
                                                     {"maxLength", 60}}));
    // Out-of-range lengths are kept as stored; the builder clamps them when it uses them.
    const NamingOptions valid{NameLanguage::ru,     NameSeparator::underscore, NameCase::title,
                              DatePosition::suffix, DateStyle::dateTime,       500};
    EXPECT_EQ(NamingOptions::fromJsonBytes(valid.toJsonBytes()), valid);

    const std::pair<const char *, QJsonValue> changes[] = {
        {"letterCase", "upper"}, {"separator", "Space"}, {"datePosition", 1}, {"language", "de"},
        {"maxLength", "60"},     {"maxLength", 60.5},    {"maxLength", 1e12},
    };
    for (const auto &[key, value] : changes) {
        QJsonObject object = valid.toJson();
        object.insert(QLatin1String(key), value);
        const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
        EXPECT_FALSE(NamingOptions::fromJsonBytes(bytes)) << bytes.constData();
    }
    EXPECT_EQ(NamingOptions::fromJsonOrDefault("not json"), NamingOptions{});
    EXPECT_EQ(NamingOptions::fromJsonOrDefault("[]"), NamingOptions{});
}

TEST(NamingOptions, DateChoiceMapsBothFieldsAndTheSliderStoresMultiplesOfFive)
{
    for (const NamingOptions &start : {NamingOptions{}, NamingOptions{.dateStyle = DateStyle::dateTime}})
        for (DateChoice choice : allDateChoices)
            EXPECT_EQ(dateChoice(withDateChoice(start, choice)), choice);
    // No date keeps the style for when a date comes back.
    EXPECT_EQ(withDateChoice(NamingOptions{.dateStyle = DateStyle::dateTime}, DateChoice::none).dateStyle,
              DateStyle::dateTime);

    const std::pair<double, int> cases[] = {{62.4, 60}, {62.5, 65}, {500, 120}, {NAN, 20}};
    for (const auto &[slider, stored] : cases)
        EXPECT_EQ(maxLengthFromSlider(slider), stored) << slider;
}
