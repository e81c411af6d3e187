// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingOptions.h"

#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

template <typename Enum, std::size_t N>
std::optional<Enum> fromRaw(QStringView raw, const std::array<Enum, N> &cases)
{
    for (Enum value : cases) {
        if (rawValue(value) == raw)
            return value;
    }
    return std::nullopt;
}

// A JSON number that is a whole value within range; JSON has no integer type of its own.
std::optional<int> integerFrom(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number != std::trunc(number) || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(number);
}

template <typename Parse>
auto enumFrom(const QJsonObject &object, const char *key, Parse parse) -> decltype(parse(QStringView()))
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString())
        return std::nullopt;
    return parse(value.toString());
}

} // namespace

QString rawValue(NameSeparator value)
{
    switch (value) {
    case NameSeparator::space:
        return QStringLiteral("space");
    case NameSeparator::dash:
        return QStringLiteral("dash");
    case NameSeparator::underscore:
        return QStringLiteral("underscore");
    }
    return {};
}

QString rawValue(NameCase value)
{
    switch (value) {
    case NameCase::sentence:
        return QStringLiteral("sentence");
    case NameCase::lower:
        return QStringLiteral("lower");
    case NameCase::title:
        return QStringLiteral("title");
    }
    return {};
}

QString rawValue(DatePosition value)
{
    switch (value) {
    case DatePosition::none:
        return QStringLiteral("none");
    case DatePosition::prefix:
        return QStringLiteral("prefix");
    case DatePosition::suffix:
        return QStringLiteral("suffix");
    }
    return {};
}

QString rawValue(DateStyle value)
{
    switch (value) {
    case DateStyle::date:
        return QStringLiteral("date");
    case DateStyle::dateTime:
        return QStringLiteral("dateTime");
    }
    return {};
}

std::optional<NameSeparator> nameSeparatorFromRaw(QStringView raw)
{
    return fromRaw(raw, allNameSeparators);
}

std::optional<NameCase> nameCaseFromRaw(QStringView raw)
{
    return fromRaw(raw, allNameCases);
}

std::optional<DatePosition> datePositionFromRaw(QStringView raw)
{
    return fromRaw(raw, allDatePositions);
}

std::optional<DateStyle> dateStyleFromRaw(QStringView raw)
{
    return fromRaw(raw, allDateStyles);
}

QString separatorCharacter(NameSeparator value)
{
    switch (value) {
    case NameSeparator::space:
        return QStringLiteral(" ");
    case NameSeparator::dash:
        return QStringLiteral("-");
    case NameSeparator::underscore:
        return QStringLiteral("_");
    }
    return QStringLiteral(" ");
}

const char *labelKey(NameSeparator value)
{
    switch (value) {
    case NameSeparator::space:
        return "sep.space";
    case NameSeparator::dash:
        return "sep.dash";
    case NameSeparator::underscore:
        return "sep.underscore";
    }
    return "";
}

const char *labelKey(NameCase value)
{
    switch (value) {
    case NameCase::sentence:
        return "case.sentence";
    case NameCase::lower:
        return "case.lower";
    case NameCase::title:
        return "case.title";
    }
    return "";
}

QJsonObject NamingOptions::toJson() const
{
    return QJsonObject{
        {QStringLiteral("language"), rawValue(language)},     {QStringLiteral("separator"), rawValue(separator)},
        {QStringLiteral("letterCase"), rawValue(letterCase)}, {QStringLiteral("datePosition"), rawValue(datePosition)},
        {QStringLiteral("dateStyle"), rawValue(dateStyle)},   {QStringLiteral("maxLength"), maxLength},
    };
}

QByteArray NamingOptions::toJsonBytes() const
{
    return QJsonDocument(toJson()).toJson(QJsonDocument::Compact);
}

std::optional<NamingOptions> NamingOptions::fromJson(const QJsonValue &json)
{
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject object = json.toObject();

    const auto language = enumFrom(object, "language", nameLanguageFromRaw);
    const auto separator = enumFrom(object, "separator", nameSeparatorFromRaw);
    const auto letterCase = enumFrom(object, "letterCase", nameCaseFromRaw);
    const auto datePosition = enumFrom(object, "datePosition", datePositionFromRaw);
    const auto dateStyle = enumFrom(object, "dateStyle", dateStyleFromRaw);
    const auto maxLength = integerFrom(object.value(QLatin1String("maxLength")));
    if (!language || !separator || !letterCase || !datePosition || !dateStyle || !maxLength)
        return std::nullopt;
    return NamingOptions{*language, *separator, *letterCase, *datePosition, *dateStyle, *maxLength};
}

std::optional<NamingOptions> NamingOptions::fromJsonBytes(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return fromJson(document.object());
}

NamingOptions NamingOptions::fromJsonOrDefault(const QByteArray &bytes)
{
    return fromJsonBytes(bytes).value_or(NamingOptions{});
}

const char *labelKey(DateChoice value)
{
    switch (value) {
    case DateChoice::none:
        return "date.none";
    case DateChoice::prefix:
        return "date.prefix";
    case DateChoice::suffix:
        return "date.suffix";
    case DateChoice::prefixTime:
        return "date.prefixTime";
    case DateChoice::suffixTime:
        return "date.suffixTime";
    }
    return "";
}

bool dividerAfter(DateChoice value)
{
    return value == DateChoice::none || value == DateChoice::suffix;
}

DateChoice dateChoice(const NamingOptions &options)
{
    const bool withTime = options.dateStyle == DateStyle::dateTime;
    switch (options.datePosition) {
    case DatePosition::none:
        return DateChoice::none;
    case DatePosition::prefix:
        return withTime ? DateChoice::prefixTime : DateChoice::prefix;
    case DatePosition::suffix:
        return withTime ? DateChoice::suffixTime : DateChoice::suffix;
    }
    return DateChoice::none;
}

NamingOptions withDateChoice(NamingOptions options, DateChoice choice)
{
    switch (choice) {
    case DateChoice::none:
        options.datePosition = DatePosition::none;
        break;
    case DateChoice::prefix:
        options.datePosition = DatePosition::prefix;
        options.dateStyle = DateStyle::date;
        break;
    case DateChoice::suffix:
        options.datePosition = DatePosition::suffix;
        options.dateStyle = DateStyle::date;
        break;
    case DateChoice::prefixTime:
        options.datePosition = DatePosition::prefix;
        options.dateStyle = DateStyle::dateTime;
        break;
    case DateChoice::suffixTime:
        options.datePosition = DatePosition::suffix;
        options.dateStyle = DateStyle::dateTime;
        break;
    }
    return options;
}

int maxLengthFromSlider(double sliderValue)
{
    // The slider cannot leave its range, but a value handed in from elsewhere must not store nonsense.
    const double bounded = std::isfinite(sliderValue)
                               ? std::clamp(sliderValue, static_cast<double>(sliderMinimumLength),
                                            static_cast<double>(sliderMaximumLength))
                               : static_cast<double>(sliderMinimumLength);
    return static_cast<int>(std::round(bounded / 5.0)) * 5;
}
