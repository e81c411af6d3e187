// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The kernel's Landlock sandbox, used as far as the running kernel supports it: read-only access to a few folders,
// no writes or program starts anywhere, TCP connections to a few ports only, and no reach outside the process's
// own domain for abstract sockets and signals.
namespace Landlock {

// The ABI version the kernel offers; 0 when Landlock is missing or switched off.
int abiVersion();

struct Rules
{
    // Files and folders (with everything beneath) that stay readable; missing ones are skipped.
    QStringList readable;
    // Files that may also be written (never created, removed or renamed).
    QStringList writable;
    // TCP ports that may be connected to (ABI 4 and later); no port may be bound.
    QList<quint16> connectPorts;
    // Abstract Unix sockets created outside the process stay out of reach (ABI 6 and later). Off when a socket
    // the process still has to connect to, such as the session bus, is abstract.
    bool scopeAbstractSockets = true;
};

struct Outcome
{
    int abi = 0;
    bool files = false;
    bool network = false;
    bool abstractSocketScope = false;
    bool signalScope = false;
    // Why nothing or less than the ABI offers is enforced; empty when all went as planned.
    QString problem;
};

// Restricts the calling thread and every thread it starts later; threads that already run stay free, so call it
// before any other thread exists. Needs no_new_privs (or CAP_SYS_ADMIN).
Outcome restrictSelf(const Rules &rules);

} // namespace Landlock
