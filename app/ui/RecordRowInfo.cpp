// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RecordRowInfo.h"

#include "L10n.h"
#include "Titles.h"

QString RecordRowInfo::withoutExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

RecordRowInfo RecordRowInfo::make(const RenameRecord &record, bool exists, const QDateTime &now)
{
    RecordRowInfo info;
    const bool undone = record.state == RenameRecord::State::undone;
    info.name = withoutExtension(record.currentName);
    info.originalText = L("history.from", record.originalName);
    info.fromText = exists ? info.originalText : L("history.missing");
    info.tag = Titles::tagTitle(record.engine);
    info.trailing = undone ? L("history.undone") : relativeDate(record.date, now);
    info.struck = undone;
    // Undo and naming again act on the file; a vanished file offers neither.
    info.canUndo = !undone && exists;
    info.canAgain = undone && exists;
    info.showsThumbnail = exists;
    return info;
}
