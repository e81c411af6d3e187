// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "NameLanguage.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// What joins the words of a name, and the date to the title.
enum class NameSeparator { space, dash, underscore };

// Letter case applied to the title.
enum class NameCase { sentence, lower, title };

// Where the capture date goes.
enum class DatePosition { none, prefix, suffix };

// How much of the capture date goes into the name.
enum class DateStyle { date, dateTime };

// Raw values are persisted: they equal the case names and never change.
QString rawValue(NameSeparator value);
QString rawValue(NameCase value);
QString rawValue(DatePosition value);
QString rawValue(DateStyle value);

std::optional<NameSeparator> nameSeparatorFromRaw(QStringView raw);
std::optional<NameCase> nameCaseFromRaw(QStringView raw);
std::optional<DatePosition> datePositionFromRaw(QStringView raw);
std::optional<DateStyle> dateStyleFromRaw(QStringView raw);

// Every case in the order the interface lists them.
inline constexpr std::array allNameSeparators{NameSeparator::space, NameSeparator::dash, NameSeparator::underscore};
inline constexpr std::array allNameCases{NameCase::sentence, NameCase::lower, NameCase::title};
inline constexpr std::array allDatePositions{DatePosition::none, DatePosition::prefix, DatePosition::suffix};
inline constexpr std::array allDateStyles{DateStyle::date, DateStyle::dateTime};

// The character a separator stands for: " ", "-" or "_".
QString separatorCharacter(NameSeparator value);
// Localisation keys of the labels in the settings tab.
const char *labelKey(NameSeparator value);
const char *labelKey(NameCase value);

// The user's choice of how a title becomes a file name; a plain value compared field by field.
struct NamingOptions
{
    NameLanguage language = NameLanguage::automatic;
    NameSeparator separator = NameSeparator::space;
    NameCase letterCase = NameCase::sentence;
    DatePosition datePosition = DatePosition::none;
    DateStyle dateStyle = DateStyle::date;
    int maxLength = 60;

    bool operator==(const NamingOptions &) const = default;

    QJsonObject toJson() const;
    QByteArray toJsonBytes() const;
    // All six keys with known values and the right types, or nothing: no field-by-field repair.
    static std::optional<NamingOptions> fromJson(const QJsonValue &json);
    static std::optional<NamingOptions> fromJsonBytes(const QByteArray &bytes);
    // Stored options, or the defaults as a whole when they do not decode.
    static NamingOptions fromJsonOrDefault(const QByteArray &bytes);
};

// The settings tab shows position and style as one choice of five entries.
enum class DateChoice { none, prefix, suffix, prefixTime, suffixTime };

inline constexpr std::array allDateChoices{DateChoice::none, DateChoice::prefix, DateChoice::suffix,
                                           DateChoice::prefixTime, DateChoice::suffixTime};
const char *labelKey(DateChoice value);
// Dividers follow the first and the third entry.
bool dividerAfter(DateChoice value);

DateChoice dateChoice(const NamingOptions &options);
// Every entry but none sets both fields; none keeps the style for when a date comes back.
NamingOptions withDateChoice(NamingOptions options, DateChoice choice);

inline constexpr int sliderMinimumLength = 20;
inline constexpr int sliderMaximumLength = 120;
// The length slider stores multiples of 5: value / 5 rounded half away from zero, times 5.
int maxLengthFromSlider(double sliderValue);
