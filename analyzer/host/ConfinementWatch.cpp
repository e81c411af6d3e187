// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ConfinementWatch.h"

#include "KeyValueStore.h"

#include <QDir>
#include <QFileInfo>

ConfinementWatch::ConfinementWatch(Confinement::Plan applied, const ModelEnvironment &models,
                                   QProcessEnvironment environment, QObject *parent)
    : QObject(parent)
    , m_applied(std::move(applied))
    , m_models(models)
    , m_environment(std::move(environment))
{
    if (!m_models.store)
        return;
    // The folder sees the application's atomic replacements; its parent sees the folder appear.
    const QFileInfo settings(m_models.store->filePath());
    const QString folder = settings.absolutePath();
    m_watcher.addPath(QFileInfo::exists(folder) ? folder : QFileInfo(folder).absolutePath());
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &ConfinementWatch::check);
}

void ConfinementWatch::check()
{
    if (m_reported || Confinement::plan(m_models, m_environment) == m_applied)
        return;
    m_reported = true;
    Q_EMIT outdated();
}
