// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Confinement.h"

#include "KeyValueStore.h"
#include "SyscallFilter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <sys/prctl.h>

namespace {

// System libraries, Qt's plugins, ICU data, fonts, locales, time zones and the packaged recognition models live
// under /usr; /lib and /lib64 are links to it on Debian and real folders elsewhere. The files under /etc are what
// the C library, name resolution and TLS read; /proc/self is resolved to this process's own folder.
const QStringList &systemPaths()
{
    static const QStringList paths{
        QStringLiteral("/usr"),
        QStringLiteral("/lib"),
        QStringLiteral("/lib64"),
        QStringLiteral("/etc/ld.so.cache"),
        QStringLiteral("/etc/localtime"),
        QStringLiteral("/etc/timezone"),
        QStringLiteral("/etc/fonts"),
        QStringLiteral("/etc/hosts"),
        QStringLiteral("/etc/host.conf"),
        QStringLiteral("/etc/nsswitch.conf"),
        QStringLiteral("/etc/resolv.conf"),
        QStringLiteral("/etc/gai.conf"),
        QStringLiteral("/etc/ssl"),
        QStringLiteral("/dev/urandom"),
        QStringLiteral("/proc/self"),
        QStringLiteral("/sys/devices/system/cpu"),
    };
    return paths;
}

QString portList(const QList<quint16> &ports)
{
    QStringList texts;
    for (const quint16 port : ports)
        texts.append(QString::number(port));
    return texts.join(QLatin1String(", "));
}

void setNoNewPrivileges()
{
    // Both Landlock and seccomp refuse an unprivileged process without it; it also keeps setuid programs inert.
    ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
}

} // namespace

Confinement::Plan Confinement::plan(const ModelEnvironment &models, const QProcessEnvironment &environment)
{
    Plan plan;
    plan.readable = systemPaths();
    const QString tessdata = environment.value(QStringLiteral("TESSDATA_PREFIX"));
    if (!tessdata.isEmpty())
        plan.readable.append(tessdata);
    const QStringList pluginPaths =
        environment.value(QStringLiteral("QT_PLUGIN_PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts) +
        QCoreApplication::libraryPaths();
    for (const QString &path : pluginPaths) {
        if (!plan.readable.contains(path))
            plan.readable.append(path);
    }
    // The folder, not the file: the application replaces the file whenever it saves.
    if (models.store) {
        const QFileInfo settings(models.store->filePath());
        if (settings.dir().exists())
            plan.readable.append(settings.absolutePath());
    }
    plan.modelPorts = modelPorts(models);
    // The bus connection is made after Landlock is in force; an abstract bus socket must stay reachable. A service
    // the bus started connects to the starter's address.
    plan.scopeAbstractSockets = true;
    for (const char *variable : {"DBUS_STARTER_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"}) {
        if (environment.value(QLatin1String(variable)).contains(QLatin1String("abstract=")))
            plan.scopeAbstractSockets = false;
    }
    return plan;
}

QList<quint16> Confinement::modelPorts(const ModelEnvironment &models)
{
    const QString setting = models.endpointSetting();
    const QString ollamaHost = models.variable ? models.variable(QStringLiteral("OLLAMA_HOST")).trimmed() : QString();
    if (setting.isEmpty() && ollamaHost.isEmpty()) {
        QList<quint16> ports;
        for (const ModelEndpoint &candidate : models.candidates) {
            if (candidate.isValid() && candidate.isLoopback() && !ports.contains(candidate.port()))
                ports.append(candidate.port());
        }
        return ports;
    }
    const std::optional<ModelEndpoint> named =
        !setting.isEmpty() ? ModelEndpoint::fromSetting(setting) : ModelEndpoint::fromOllamaHost(ollamaHost);
    if (!named || !named->isValid() || (!named->isOnThisMachine() && !models.allowsRemote()))
        return {};
    return {named->port()};
}

void Confinement::restrictFiles(const Plan &plan)
{
    setNoNewPrivileges();
    Landlock::Rules rules;
    rules.readable = plan.readable;
    // Tesseract writes its diagnostics there.
    rules.writable = {QStringLiteral("/dev/null")};
    rules.connectPorts = plan.modelPorts;
    rules.scopeAbstractSockets = plan.scopeAbstractSockets;
    const qsizetype threads =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
    m_landlock = Landlock::restrictSelf(rules);
    if (m_landlock.files && threads > 1)
        m_landlock.problem = QStringLiteral("%1 threads ran before Landlock and are not bound by it").arg(threads - 1);
    m_ports = plan.modelPorts;
    m_filesTried = true;
}

void Confinement::filterSyscalls()
{
    setNoNewPrivileges();
    m_syscalls = SyscallFilter::install(&m_syscallProblem);
    m_syscallsTried = true;
}

QStringList Confinement::describe() const
{
    QStringList lines;
    const QString landlock = QStringLiteral("Landlock ABI %1").arg(m_landlock.abi);
    if (!m_filesTried) {
        lines << QStringLiteral("files and network: not confined (switched off)");
    } else if (!m_landlock.files) {
        lines << QStringLiteral("files and network: not confined: %1").arg(m_landlock.problem);
    } else {
        lines << QStringLiteral("files: read-only system folders, recognition models and settings; no writes but to "
                                "/dev/null, no programs (%1)")
                     .arg(landlock);
        if (!m_landlock.network)
            lines << QStringLiteral("network: not confined (%1 predates TCP rules)").arg(landlock);
        else if (m_ports.isEmpty())
            lines << QStringLiteral("network: no TCP connections, no listening (%1)").arg(landlock);
        else
            lines << QStringLiteral("network: TCP connections only to %1 %2 (model servers), no listening (%3)")
                         .arg(m_ports.size() == 1 ? QStringLiteral("port") : QStringLiteral("ports"), portList(m_ports),
                              landlock);
        if (m_landlock.signalScope)
            lines << QStringLiteral("signals%1: kept within the analyzer (%2)")
                         .arg(m_landlock.abstractSocketScope ? QStringLiteral(" and abstract sockets") : QString(),
                              landlock);
    }
    if (!m_syscallsTried)
        lines << QStringLiteral("system calls: not filtered (switched off)");
    else if (!m_syscalls)
        lines << QStringLiteral("system calls: not filtered: %1").arg(m_syscallProblem);
    else
        lines << QStringLiteral("system calls: no programs, tracing, mounts, modules, keyrings, removing or renaming "
                                "files, new Unix sockets or listening (seccomp)");
    return lines;
}

QString Confinement::problems() const
{
    QStringList problems;
    if (m_filesTried && !m_landlock.problem.isEmpty())
        problems << QStringLiteral("files and network are not confined: %1").arg(m_landlock.problem);
    if (m_syscallsTried && !m_syscalls)
        problems << QStringLiteral("system calls are not filtered: %1").arg(m_syscallProblem);
    return problems.join(QLatin1String("; "));
}
