// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "KeyValueStore.h"
#include "PrivateBus.h"
#include "TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>

// One user's profile for tests that run the real programs side by side: settings and data in temporary folders,
// and a private session bus that activates the analyzer from the build tree with that profile. Processes started
// here (`zentrope rename`, a second application) share the profile with the test's own objects.
class TestProfile
{
public:
    // `modelEndpoint`: the model server the programs use ("modelEndpoint"); empty leaves detection on.
    explicit TestProfile(const QString &modelEndpoint = {});

    QString configHome() const { return m_config.path(); }
    QString dataHome() const { return m_data.path(); }
    // Where the rename history of this profile lives.
    QString historyDirectory() const { return m_data.filePath(QStringLiteral("zentrope")); }
    // The profile's settings file, as the programs read it.
    std::shared_ptr<KeyValueStore> settingsStore() const { return m_store; }
    PrivateBus &bus() { return *m_bus; }
    // What a process of this profile sees: its folders, the private bus, one recognition thread.
    QProcessEnvironment environment() const;

    // `zentrope` from the build tree with `arguments`, started; the test keeps its event loop running while it
    // waits (a model server in the test answers from that loop).
    std::unique_ptr<QProcess> startZentrope(const QStringList &arguments) const;
    // Waits for `process` without blocking the event loop; false when it did not end in time.
    static bool waitForExit(QProcess &process, int timeoutMs);

private:
    TempDir m_config;
    TempDir m_data;
    std::shared_ptr<KeyValueStore> m_store;
    QProcessEnvironment m_environment;
    std::unique_ptr<PrivateBus> m_bus;
};
