// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RenameRecord.h"

#include <QDir>
#include <QHashFunctions>

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

QString historyDateText(const QDateTime &date)
{
    return date.toUTC().toString(Qt::ISODate);
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
