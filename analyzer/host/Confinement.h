// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "Landlock.h"
#include "ModelEnvironment.h"

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What the analyzer confines itself to before it reads anything a peer sends: it decodes untrusted images, so it
// keeps read-only access to what it loads, no writes, no programs, and TCP only to the model server.
//
// Two steps, in this order: restrictFiles() while the process has a single thread (Landlock binds only the
// calling thread and those it starts later), then filterSyscalls() once the bus connection is up (the filter
// covers every thread and refuses new Unix sockets).
class Confinement
{
public:
    struct Plan
    {
        QStringList readable;
        QList<quint16> modelPorts;
        bool scopeAbstractSockets = true;

        friend bool operator==(const Plan &, const Plan &) = default;
    };

    // From the settings and environment as they are now: the system folders, the recognition models, Qt's
    // plugins, the settings folder, and the ports of the model servers the model probe may ask.
    static Plan plan(const ModelEnvironment &models, const QProcessEnvironment &environment);

    // The ports of the servers the model probe may ask, in the probe's order of precedence: the "modelEndpoint"
    // setting, else OLLAMA_HOST, else the loopback candidates of auto-detection. None when the named server is
    // not valid, or is not on this machine and the user did not allow that.
    static QList<quint16> modelPorts(const ModelEnvironment &models);

    // Landlock as far as the kernel supports it; sets no_new_privs first.
    void restrictFiles(const Plan &plan);
    // The seccomp filter over every thread; sets no_new_privs first.
    void filterSyscalls();

    // One line per kind of limit, saying what is enforced or why it is not ("files: read-only …").
    QStringList describe() const;
    // What could not be enforced, for a warning at start; empty when everything held.
    QString problems() const;

private:
    bool m_filesTried = false;
    bool m_syscallsTried = false;
    Landlock::Outcome m_landlock;
    QList<quint16> m_ports;
    bool m_syscalls = false;
    QString m_syscallProblem;
};
