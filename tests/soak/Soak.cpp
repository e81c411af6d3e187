// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Soak.h"

#include "AppSettings.h"
#include "FolderBookmark.h"
#include "RenderedScreen.h"
#include "TestProfile.h"

#include <QCryptographicHash>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <cstdio>

namespace Soak {

double peakMiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (pid <= 0 || !status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

qint64 ownerPid(QDBusConnection &bus, const QString &name)
{
    const QDBusReply<uint> pid = bus.interface()->servicePid(name);
    return pid.isValid() ? pid.value() : 0;
}

QStringList contentDigests(const QString &folder)
{
    QStringList digests;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        digests.append(QString::fromLatin1(
            QCryptographicHash::hash(readFile(dir.filePath(name)), QCryptographicHash::Sha256).toHex()));
    digests.sort();
    return digests;
}

QStringList fileNames(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

QByteArray screenPng(int n)
{
    static const QStringList words{QStringLiteral("Harbour"), QStringLiteral("Lantern"), QStringLiteral("Meadow"),
                                   QStringLiteral("Granite"), QStringLiteral("Copper"),  QStringLiteral("Willow"),
                                   QStringLiteral("Falcon"),  QStringLiteral("Orchard"), QStringLiteral("Thunder"),
                                   QStringLiteral("Velvet"),  QStringLiteral("Summit"),  QStringLiteral("Glacier")};
    const QString heading = words.at(n % words.size()) + u' ' + words.at((n / words.size()) % words.size()) +
                            QStringLiteral(" planning notes");
    return renderedScreenPng(heading, {QStringLiteral("Entry %1 of the shared folder").arg(n)}, QSize(720, 260));
}

QString gnomeName(int n)
{
    return QStringLiteral("Screenshot From 2026-11-12 %1-%2-%3.png")
        .arg(10 + n / 3600, 2, 10, QLatin1Char('0'))
        .arg(n / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(n % 60, 2, 10, QLatin1Char('0'));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void report(const char *caseName, const QString &figures)
{
    std::printf("[soak] %s: %s\n", caseName, qPrintable(figures));
    std::fflush(stdout);
}

double seconds(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

void prepareTrayProfile(TestProfile &profile, const QString &folder)
{
    AppSettings settings(profile.settingsStore());
    settings.setOcrFallback(true);
    settings.setOnboardingDone(true);
    settings.setFolders({WatchedFolder{QUuid::createUuid(), folder, *FolderBookmark::create(folder), true}});
    // Seen a minute ago: what lands before the watcher is up is caught up at start rather than missed.
    settings.setLastSeenDate(QDateTime::currentDateTime().addSecs(-60));
}

std::unique_ptr<QProcess> startTray(TestProfile &profile)
{
    std::unique_ptr<QProcess> tray = profile.startZentrope({});
    QDBusConnection bus = profile.bus().connect();
    const bool up = QTest::qWaitFor(
        [&] {
            return tray->state() != QProcess::NotRunning &&
                   bus.interface()->isServiceRegistered(QStringLiteral("org.zentrope.Zentrope")).value();
        },
        60000);
    if (!up)
        tray.reset();
    return tray;
}

bool stopTray(QProcess &tray)
{
    ::kill(static_cast<pid_t>(tray.processId()), SIGTERM);
    return TestProfile::waitForExit(tray, 30000) && tray.exitStatus() == QProcess::NormalExit && tray.exitCode() == 0;
}

} // namespace Soak
