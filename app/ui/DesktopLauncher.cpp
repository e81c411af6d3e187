// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "DesktopLauncher.h"

#include <QProcess>
#include <QStandardPaths>

DesktopLauncher::DesktopLauncher(QObject *parent)
    : QObject(parent)
{}

bool DesktopLauncher::open(const QString &target)
{
    return run(QStringLiteral("xdg-open"), {target}, target);
}

bool DesktopLauncher::run(const QString &program, const QStringList &arguments, const QString &target)
{
    const QString shown = target.isEmpty() ? program : target;
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return false;
    // Without a parent: a handler that runs the opened program in the foreground must outlive a quit, which
    // deletes (and so kills) the processes the application still owns.
    auto *process = new QProcess;
    process->setProgram(path);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, [this, process, shown](int exitCode, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit || exitCode != 0)
            fail(shown);
    });
    process->start();
    if (!process->waitForStarted(5000)) {
        delete process;
        return false;
    }
    return true;
}

void DesktopLauncher::fail(const QString &target) const
{
    if (m_onFailure)
        m_onFailure(target);
}
