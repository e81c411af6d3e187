// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "HomeChecklist.h"

#include "L10n.h"

namespace HomeChecklist {

bool needsAttention(const Inputs &inputs)
{
    return !inputs.hasFolders || !inputs.facts.ai.isAvailable() ||
           (inputs.needsRussianPack && inputs.translation == TranslationStatus::supported);
}

QList<CheckpointRow> rows(const Inputs &inputs)
{
    QList<CheckpointRow> rows;
    if (!inputs.hasFolders)
        rows.append(CheckpointRow::folder());
    if (!inputs.facts.ai.isAvailable())
        rows.append(CheckpointRow::intelligence(inputs.facts, false));
    if (inputs.needsRussianPack)
        rows.append(CheckpointRow::translationPack(inputs.translation));
    return rows;
}

QString deferredText(int pendingCount)
{
    if (pendingCount <= 0)
        return {};
    return L("home.deferred", LPlural("count.screenshots", pendingCount));
}

} // namespace HomeChecklist
