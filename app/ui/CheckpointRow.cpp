// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "CheckpointRow.h"

#include "L10n.h"
#include "SetupChecker.h"

namespace {

CheckpointRow makeRow(const QString &key, const QString &title, CheckpointStatus status)
{
    CheckpointRow row;
    row.key = key;
    row.title = title;
    row.status = status;
    return row;
}

} // namespace

CheckpointRow::Facts CheckpointRow::facts(const AIAvailability &modelAvailability, const SetupChecker *checker)
{
    Facts facts;
    facts.ai = modelAvailability;
    if (!checker)
        return facts;
    const ModelStatus &status = checker->modelStatus();
    facts.languageSupported = checker->userLanguageSupported();
    facts.languageName = checker->userLanguageName();
    facts.hasVision = status.modelHasVision();
    facts.modelName = status.model;
    return facts;
}

QList<CheckpointRow> CheckpointRow::intelligence(const Facts &facts, bool showsVision)
{
    using Kind = AIAvailability::Kind;
    using S = CheckpointStatus;
    QList<CheckpointRow> rows;
    const bool ineligible = facts.ai.kind() == Kind::deviceNotEligible;

    CheckpointRow device =
        makeRow(QStringLiteral("device"), L("check.device.title"), ineligible ? S::blocked : S::done);
    if (ineligible)
        device.detail = L("check.device.bad");
    rows.append(device);

    CheckpointRow language = makeRow(QStringLiteral("language"), L("check.siri.title"), S::done);
    if (ineligible)
        language.status = S::blocked;
    else if (facts.ai.isAvailable())
        language.status = S::done;
    else
        language.status = facts.languageSupported == false ? S::action : S::done;
    language.detail = facts.languageName.value_or(QStringLiteral("—"));
    if (facts.languageSupported == false)
        language.detail += QStringLiteral(" · ") + L("check.siri.bad");
    if (language.status == S::action) {
        language.actionTitle = L("check.openSettings");
        language.action = Action::openModelSettings;
    }
    rows.append(language);

    CheckpointRow enabled = makeRow(QStringLiteral("enabled"), L("check.enabled.title"),
                                    SetupChecker::enabledStatus(facts.ai, facts.languageSupported));
    if (enabled.status != S::done)
        enabled.detail = L("check.enabled.bad");
    if (enabled.status == S::action) {
        enabled.actionTitle = L("check.openSettings");
        enabled.action = Action::openModelSettings;
    }
    rows.append(enabled);

    CheckpointRow model = makeRow(QStringLiteral("model"), L("check.model.title"),
                                  SetupChecker::modelStatus(facts.ai, facts.languageSupported));
    if (model.status == S::waiting)
        model.detail = L("check.model.waiting");
    else if (model.status != S::done)
        model.detail = L("check.model.pending");
    rows.append(model);

    if (showsVision) {
        CheckpointRow vision =
            makeRow(QStringLiteral("vision"), L("check.vision.title"), facts.hasVision ? S::done : S::tip);
        if (!facts.hasVision) {
            vision.detail = facts.modelName.isEmpty()
                                ? L("check.vision.tip")
                                : L("check.vision.detail", facts.modelName) + u' ' + L("check.vision.tip");
            vision.actionTitle = L("check.vision.update");
            vision.action = Action::openVisionModels;
        }
        rows.append(vision);
    }
    return rows;
}

CheckpointRow CheckpointRow::translationPack(std::optional<TranslationStatus> translation)
{
    CheckpointRow row = makeRow(QStringLiteral("pack"), L("check.pack.title"), CheckpointStatus::blocked);
    if (translation == TranslationStatus::installed) {
        row.status = CheckpointStatus::done;
        row.detail = L("check.pack.done");
    } else if (translation == TranslationStatus::supported) {
        row.status = CheckpointStatus::action;
        row.detail = L("check.pack.action");
        row.actionTitle = L("check.pack.download");
        row.action = Action::getRussianModel;
    } else {
        row.status = CheckpointStatus::blocked;
        row.detail = L("check.pack.unsupported");
    }
    return row;
}

CheckpointRow CheckpointRow::folder()
{
    return {QStringLiteral("folder"), L("check.folder.title"),  CheckpointStatus::action,
            L("check.folder.bad"),    L("setup.folder.choose"), Action::chooseFolder};
}

QString rawValue(CheckpointRow::Action action)
{
    switch (action) {
    case CheckpointRow::Action::none:
        return QStringLiteral("none");
    case CheckpointRow::Action::chooseFolder:
        return QStringLiteral("chooseFolder");
    case CheckpointRow::Action::openModelSettings:
        return QStringLiteral("openModelSettings");
    case CheckpointRow::Action::openVisionModels:
        return QStringLiteral("openVisionModels");
    case CheckpointRow::Action::getRussianModel:
        break;
    }
    return QStringLiteral("getRussianModel");
}
