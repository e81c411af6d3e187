// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AIAvailability.h"
#include "CheckpointStatus.h"

#include <QList>
#include <QString>

#include <optional>

// One row of a readiness checklist: a status glyph, a title, an optional detail and an optional action.
struct CheckpointRow
{
    // What the action button does; the interface maps each to one call.
    enum class Action { none, chooseFolder, openModelSettings, openVisionModels, getRussianModel };

    QString key;
    QString title;
    CheckpointStatus status = CheckpointStatus::done;
    QString detail;
    QString actionTitle;
    Action action = Action::none;

    friend bool operator==(const CheckpointRow &, const CheckpointRow &) = default;

    // The facts the rows are made of, as the setup checker reads them.
    struct Facts
    {
        AIAvailability ai = AIAvailability::unknown(QString());
        std::optional<bool> languageSupported;
        std::optional<QString> languageName;
        bool hasVision = false;
        QString modelName;
    };

    // The checker's reading when there is one (it carries the languages and vision), else the model's availability.
    static Facts facts(const AIAvailability &modelAvailability, const class SetupChecker *checker);

    // Device, language, server running, model ready and, with `showsVision`, image understanding.
    static QList<CheckpointRow> intelligence(const Facts &facts, bool showsVision);
    static CheckpointRow translationPack(std::optional<TranslationStatus> translation);
    static CheckpointRow folder();
};

// "none", "chooseFolder", ...: what the views hand back when the button is pressed.
QString rawValue(CheckpointRow::Action action);
