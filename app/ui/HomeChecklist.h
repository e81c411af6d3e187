// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "CheckpointRow.h"

#include <QList>
#include <QString>

// The home tab's "getting ready" card: shown only when something stands in the way of naming.
namespace HomeChecklist {

struct Inputs
{
    bool hasFolders = false;
    CheckpointRow::Facts facts;
    // Whether Russian names need a translating model (the setup checker's rule for the naming language).
    bool needsRussianPack = false;
    std::optional<TranslationStatus> translation;
};

// No folder, a model that cannot be used, or Russian names wanted from a model that could be swapped for one
// that writes them.
bool needsAttention(const Inputs &inputs);
// The folder row without folders, the local-model rows while the model is unavailable, the translation row when it
// matters; in that order.
QList<CheckpointRow> rows(const Inputs &inputs);
// The line about files waiting to be named; empty when none wait.
QString deferredText(int pendingCount);

} // namespace HomeChecklist
