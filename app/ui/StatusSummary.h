// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AIAvailability.h"
#include "Activity.h"
#include "WatchedFolder.h"

#include <QList>
#include <QString>

class AppModel;
class AppSettings;

// The one-line answer to "is Zentrope working?" that the tray panel and the home tab show.
struct StatusSummary
{
    enum class Kind { ok, working, paused, attention, waiting };

    Kind kind = Kind::ok;
    QString title;
    QString subtitle;

    // What the summary is made of, so the rules can be checked without a running model.
    struct Inputs
    {
        Activity activity;
        QList<WatchedFolder> folders;
        int unavailableFolders = 0;
        bool autoProcessing = true;
        AIAvailability ai = AIAvailability::unknown(QString());
        bool ocrFallback = false;
    };

    // The first rule that applies wins: working, no folder, every enabled folder lost, paused, ready, else the
    // model's state.
    static StatusSummary make(const Inputs &inputs);
    static StatusSummary make(const AppModel &model, const AppSettings &settings);

    friend bool operator==(const StatusSummary &, const StatusSummary &) = default;
};

// "ok", "working", "paused", "attention", "waiting".
QString rawValue(StatusSummary::Kind kind);
