// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// The state shown by a row of a readiness checklist.
enum class CheckpointStatus { done, action, waiting, blocked, tip };

// "done", "action", "waiting", "blocked", "tip": what the views key their glyphs on.
inline QString rawValue(CheckpointStatus status)
{
    switch (status) {
    case CheckpointStatus::done:
        return QStringLiteral("done");
    case CheckpointStatus::action:
        return QStringLiteral("action");
    case CheckpointStatus::waiting:
        return QStringLiteral("waiting");
    case CheckpointStatus::blocked:
        return QStringLiteral("blocked");
    case CheckpointStatus::tip:
        break;
    }
    return QStringLiteral("tip");
}

// Whether English names can be turned into Russian ones by the local model.
enum class TranslationStatus {
    installed,  // the running model writes both languages
    supported,  // a model server runs, but its model does not write Russian: another model would
    unsupported // no usable model at all
};
