// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"

#include "AppSettings.h"
#include "FileNameBuilder.h"
#include "FileRenamer.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "PipelinePaths.h"

#include <QFileInfo>

using namespace PipelinePaths;

void AppModel::undo(const RenameRecord &record)
{
    if (record.state != RenameRecord::State::renamed)
        return;
    const RenameResult restored =
        FileRenamer::restore(record.filePath(), record.originalName, record.fileID, m_renameCalls);
    if (!restored.ok()) {
        const QString description = restored.error()->description();
        setLastError(description);
        postError(record.currentName, description);
        return;
    }
    RenameRecord updated = record;
    updated.currentName = QFileInfo(restored.path()).fileName();
    updated.state = RenameRecord::State::undone;
    m_history.update(updated);
}

std::optional<QString> AppModel::rename(const RenameRecord &record, const QString &name)
{
    const QString sanitized = FileNameBuilder::sanitizeManual(name.trimmed());
    if (sanitized.isEmpty())
        return L("error.invalidName");
    const RenameResult renamed = FileRenamer::rename(
        record.filePath(), sanitized, separatorCharacter(m_settings.naming().separator), record.fileID, m_renameCalls);
    if (!renamed.ok())
        return renamed.error()->description();
    RenameRecord updated = record;
    updated.currentName = QFileInfo(renamed.path()).fileName();
    updated.engine = NamingEngineKind::manual;
    updated.state = RenameRecord::State::renamed;
    m_history.update(updated);
    return std::nullopt;
}

void AppModel::reprocess(const RenameRecord &record)
{
    if (fileExists(record))
        enqueue(Job{record.filePath(), JobOrigin::manual});
}

void AppModel::reveal(const RenameRecord &record)
{
    if (!m_revealer)
        return;
    if (fileExists(record))
        m_revealer->reveal(record.filePath());
    else
        m_revealer->openFolder(record.folderPath);
}

bool AppModel::fileExists(const RenameRecord &record) const
{
    return existsAt(record.filePath());
}
