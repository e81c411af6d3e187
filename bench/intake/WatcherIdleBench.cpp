// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// The idle cost of a running folder watcher: context switches of the whole process per minute while nothing
// happens in the watched folders, beside the same process with the watcher stopped, in the same run.
#include "FolderWatcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
// Voluntary plus involuntary context switches of every thread of this process: each is a wake-up.
qint64 switches()
{
    qint64 total = 0;
    const QStringList tasks = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        QFile status(QStringLiteral("/proc/self/task/%1/status").arg(task));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = status.readAll().split('\n');
        for (const QByteArray &line : lines)
            if (line.startsWith("voluntary_ctxt_switches:") || line.startsWith("nonvoluntary_ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return total;
}

qint64 idleFor(int seconds)
{
    const qint64 before = switches();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    return switches() - before;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 60;
    QTemporaryDir a, b;

    const qint64 baseline = idleFor(seconds);
    FolderWatcher watcher(true, std::chrono::milliseconds(400), [](const QList<FolderWatcher::Event> &) {});
    watcher.start({a.path(), b.path()});
    const qint64 watching = idleFor(seconds);
    watcher.stop();

    const double perMinute = 60.0 / seconds;
    std::printf("idle %d s, two folders watched\n", seconds);
    std::printf("without watcher: %.1f wake-ups/min\n", baseline * perMinute);
    std::printf("with watcher:    %.1f wake-ups/min\n", watching * perMinute);
    std::printf("watcher's own:   %.1f wake-ups/min\n", (watching - baseline) * perMinute);
    return 0;
}
