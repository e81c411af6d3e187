// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "StatusSummary.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "L10n.h"
#include "Titles.h"

#include <QFileInfo>

StatusSummary StatusSummary::make(const Inputs &inputs)
{
    if (inputs.activity.kind() == Activity::Kind::working) {
        const int remaining = inputs.activity.remaining();
        return {Kind::working, remaining > 0 ? L("status.workingQueue", remaining + 1) : L("status.working"),
                QFileInfo(inputs.activity.file()).fileName()};
    }
    if (inputs.folders.isEmpty())
        return {Kind::attention, L("status.noFolder"), L("status.noFolder.sub")};
    const auto enabled = std::count_if(inputs.folders.cbegin(), inputs.folders.cend(),
                                       [](const WatchedFolder &folder) { return folder.enabled; });
    if (inputs.unavailableFolders > 0 && inputs.unavailableFolders == enabled)
        return {Kind::attention, L("status.folderLost"), L("status.folderLost.sub")};
    if (!inputs.autoProcessing)
        return {Kind::paused, L("status.paused"), L("status.paused.sub")};
    if (inputs.ai.isAvailable()) {
        QList<WatchedEntry> entries;
        for (const WatchedFolder &folder : inputs.folders)
            entries.append({folder.path, folder.enabled});
        return {Kind::ok, L("status.ok"), L("status.ok.sub", watchedSummary(entries))};
    }
    const Kind kind = inputs.ai.kind() == AIAvailability::Kind::modelNotReady ? Kind::waiting : Kind::attention;
    return {kind, Titles::title(inputs.ai), inputs.ocrFallback ? L("status.ai.ocrOn") : L("status.ai.ocrOff")};
}

StatusSummary StatusSummary::make(const AppModel &model, const AppSettings &settings)
{
    Inputs inputs;
    inputs.activity = model.activity();
    inputs.folders = settings.folders();
    inputs.unavailableFolders = static_cast<int>(model.unavailableFolders().size());
    inputs.autoProcessing = settings.autoProcessing();
    inputs.ai = model.aiAvailability();
    inputs.ocrFallback = settings.ocrFallback();
    return make(inputs);
}

QString rawValue(StatusSummary::Kind kind)
{
    switch (kind) {
    case StatusSummary::Kind::ok:
        return QStringLiteral("ok");
    case StatusSummary::Kind::working:
        return QStringLiteral("working");
    case StatusSummary::Kind::paused:
        return QStringLiteral("paused");
    case StatusSummary::Kind::attention:
        return QStringLiteral("attention");
    case StatusSummary::Kind::waiting:
        break;
    }
    return QStringLiteral("waiting");
}
