// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "RenameRecord.h"

#include <QUuid>

// A renamed screenshot in a typical folder, as the notifier tests post it.
inline RenameRecord sampleRecord(const QString &currentName)
{
    RenameRecord r;
    r.id = QUuid::createUuid();
    r.folderPath = QStringLiteral("/home/u/Pictures");
    r.originalName = QStringLiteral("Screenshot from 2026-11-12 10-42-17.png");
    r.currentName = currentName;
    return r;
}
