// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "FileID.h"
#include "NamingEngineKind.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringView>
#include <QUuid>

#include <optional>

// One entry of the rename history: which file got which name from whom, and whether the rename was undone.
struct RenameRecord
{
    enum class State { renamed, undone };

    QUuid id;
    QDateTime date;
    QString folderPath;
    QString originalName;
    QString currentName;
    NamingEngineKind engine = NamingEngineKind::ai;
    State state = State::renamed;
    std::optional<FileID> fileID;

    friend bool operator==(const RenameRecord &, const RenameRecord &) = default;

    // Where the file is now: the folder joined with the current name.
    QString filePath() const;

    // Dates as ISO 8601 text in UTC, the id as an uppercase UUID; "fileID" is left out when absent.
    QJsonObject toJson() const;
    // Every key but "fileID" is required.
    static std::optional<RenameRecord> fromJson(const QJsonValue &json);
};

QString rawValue(RenameRecord::State state);
std::optional<RenameRecord::State> renameRecordStateFromRaw(QStringView raw);

size_t qHash(const RenameRecord &record, size_t seed = 0) noexcept;

// Dates in the history files: "2026-11-12T10:42:17Z" (UTC, whole seconds). Reading also accepts fractions and
// offsets.
QString historyDateText(const QDateTime &date);
QByteArray historyDateBytes(const QDateTime &date);
std::optional<QDateTime> historyDateFromText(const QJsonValue &json);

// The uppercase UUID text the history files and notifications use.
QString uuidText(const QUuid &id);
