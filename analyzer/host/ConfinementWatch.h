// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "Confinement.h"

#include <QFileSystemWatcher>
#include <QObject>

// Notices when the settings would confine a new analyzer differently from this one, say to another model
// server's port. Confinement cannot be widened, so the service hands its name to a fresh process instead.
class ConfinementWatch : public QObject
{
    Q_OBJECT

public:
    // `models` (and its store) must outlive the watch.
    ConfinementWatch(Confinement::Plan applied, const ModelEnvironment &models, QProcessEnvironment environment,
                     QObject *parent = nullptr);

    // Compares the plan with the settings as they are now; runs on every change in the settings folder.
    void check();

Q_SIGNALS:
    // Emitted once, when the plan first differs.
    void outdated();

private:
    Confinement::Plan m_applied;
    const ModelEnvironment &m_models;
    QProcessEnvironment m_environment;
    QFileSystemWatcher m_watcher;
    bool m_reported = false;
};
