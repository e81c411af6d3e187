// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QCoroTask>
#include <QDBusConnection>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// Starts the analyzer program that lies beside the running application, for buses that cannot activate it by
// name (a build tree, an install prefix the session bus does not search). The started analyzer claims the name
// and idles out as an activated one does.
class AnalyzerLauncher
{
public:
    static constexpr std::chrono::milliseconds defaultTimeout{30000};

    // `programDir` empty: the folder of this process's executable. The analyzer runs with `environment`, which
    // must lead it to the same bus as `bus`.
    explicit AnalyzerLauncher(QDBusConnection bus = QDBusConnection::sessionBus(), QString programDir = {},
                              QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());

    // Where the analyzer may lie, relative to a program folder: beside it, in the install prefix's program
    // folder, in the build tree.
    static QStringList candidates(const QString &programDir);
    // The first candidate that is an executable file.
    std::optional<QString> program() const;

    // True once the analyzer owns its name on the bus: at once when something already does, else after starting
    // the program beside this one. False when there is none or it did not come up within `timeout`.
    QCoro::Task<bool> start(std::chrono::milliseconds timeout = defaultTimeout);

private:
    QDBusConnection m_bus;
    QString m_programDir;
    QProcessEnvironment m_environment;
};
