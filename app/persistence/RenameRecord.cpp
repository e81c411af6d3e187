// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RenameRecord.h"

#include <QDir>
#include <QHashFunctions>

#include <cstdio>

QString RenameRecord::filePath() const
{
    return QDir(folderPath).filePath(currentName);
}

QJsonObject RenameRecord::toJson() const
{
    QJsonObject object{
        {QStringLiteral("id"), uuidText(id)},         {QStringLiteral("date"), historyDateText(date)},
        {QStringLiteral("folderPath"), folderPath},   {QStringLiteral("originalName"), originalName},
        {QStringLiteral("currentName"), currentName}, {QStringLiteral("engine"), rawValue(engine)},
        {QStringLiteral("state"), rawValue(state)},
    };
    if (fileID)
        object.insert(QStringLiteral("fileID"), fileID->toJson());
    return object;
}

std::optional<RenameRecord> RenameRecord::fromJson(const QJsonValue &json)
{
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject object = json.toObject();
    const auto string = [&object](const char *key) -> std::optional<QString> {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isString())
            return std::nullopt;
        return value.toString();
    };

    RenameRecord record;
    const auto id = string("id");
    const auto date = historyDateFromText(object.value(QStringLiteral("date")));
    const auto folderPath = string("folderPath");
    const auto originalName = string("originalName");
    const auto currentName = string("currentName");
    const auto engine = string("engine");
    const auto state = string("state");
    if (!id || !date || !folderPath || !originalName || !currentName || !engine || !state)
        return std::nullopt;
    record.id = QUuid::fromString(*id);
    const auto engineKind = namingEngineKindFromRaw(*engine);
    const auto recordState = renameRecordStateFromRaw(*state);
    if (record.id.isNull() || !engineKind || !recordState)
        return std::nullopt;
    record.date = *date;
    record.folderPath = *folderPath;
    record.originalName = *originalName;
    record.currentName = *currentName;
    record.engine = *engineKind;
    record.state = *recordState;

    const QJsonValue fileID = object.value(QStringLiteral("fileID"));
    if (fileID.isObject()) {
        record.fileID = FileID::fromJson(fileID.toObject());
        if (!record.fileID)
            return std::nullopt;
    } else if (!fileID.isUndefined() && !fileID.isNull()) {
        return std::nullopt;
    }
    return record;
}

QString rawValue(RenameRecord::State state)
{
    switch (state) {
    case RenameRecord::State::renamed:
        return QStringLiteral("renamed");
    case RenameRecord::State::undone:
        return QStringLiteral("undone");
    }
    return {};
}

std::optional<RenameRecord::State> renameRecordStateFromRaw(QStringView raw)
{
    if (raw == u"renamed")
        return RenameRecord::State::renamed;
    if (raw == u"undone")
        return RenameRecord::State::undone;
    return std::nullopt;
}

size_t qHash(const RenameRecord &record, size_t seed) noexcept
{
    return qHashMulti(seed, record.id, record.date, record.folderPath, record.originalName, record.currentName,
                      static_cast<int>(record.engine), static_cast<int>(record.state), record.fileID.has_value(),
                      record.fileID ? qHash(*record.fileID) : 0);
}

QByteArray historyDateBytes(const QDateTime &date)
{
    // Formatted by hand: the registry holds tens of thousands of dates and QDateTime::toString is slow.
    const qint64 msecs = date.toMSecsSinceEpoch();
    const qint64 secs = msecs / 1000 - (msecs % 1000 < 0 ? 1 : 0);
    const qint64 days = secs / 86400 - (secs % 86400 < 0 ? 1 : 0);
    const qint64 secondOfDay = secs - days * 86400;
    const QDate day = QDate(1970, 1, 1).addDays(days);
    if (!date.isValid() || day.year() < 1 || day.year() > 9999)
        return date.toUTC().toString(Qt::ISODate).toLatin1();
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", day.year(), day.month(),
                                     day.day(), static_cast<int>(secondOfDay / 3600),
                                     static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60));
    return QByteArray(text, length);
}

QString historyDateText(const QDateTime &date)
{
    return QString::fromLatin1(historyDateBytes(date));
}

std::optional<QDateTime> historyDateFromText(const QJsonValue &json)
{
    if (!json.isString())
        return std::nullopt;
    const QDateTime date = QDateTime::fromString(json.toString(), Qt::ISODateWithMs);
    // Text without a zone designator would be read as local time; the files always carry one.
    if (!date.isValid() || date.timeSpec() == Qt::LocalTime)
        return std::nullopt;
    return date.toUTC();
}

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}
