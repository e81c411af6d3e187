// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "RenameRecord.h"

#include <QDateTime>
#include <QString>

// What one history row shows and offers, decided from the record and whether its file still exists.
struct RecordRowInfo
{
    // The current name without its extension.
    QString name;
    // "was <original name>", or that the file is gone.
    QString fromText;
    // "was <original name>" whether or not the file is still there (the tray panel's second line).
    QString originalText;
    // The engine badge; empty for names from the language model.
    QString tag;
    // How long ago, or "Undone".
    QString trailing;
    bool struck = false;
    bool canUndo = false;
    bool canAgain = false;
    bool showsThumbnail = false;

    friend bool operator==(const RecordRowInfo &, const RecordRowInfo &) = default;

    static RecordRowInfo make(const RenameRecord &record, bool exists, const QDateTime &now);
    // "a.b.png" -> "a.b"; a leading dot is part of the name.
    static QString withoutExtension(const QString &name);
};
