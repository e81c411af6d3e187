// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <ostream>

class QProcess;
class TestProfile;

// What the reliability cases share: figures of running processes, fingerprints of folders, and the tray
// application started as a process over a test profile.
namespace Soak {

// Peak resident memory (VmHWM) of a running process, in MiB; 0 when it cannot be read.
double peakMiB(qint64 pid);
// The process that owns `name` on `bus`, 0 when none does.
qint64 ownerPid(QDBusConnection &bus, const QString &name);
// The SHA-256 of every regular file in `folder`, sorted: equal lists mean the same contents, whatever the names.
QStringList contentDigests(const QString &folder);
// The names of the regular files in `folder`, sorted.
QStringList fileNames(const QString &folder);
// A small screen whose heading and line are its own, as PNG bytes.
QByteArray screenPng(int n);
// "Screenshot From 2026-11-12 HH-MM-SS.png" for screenshot `n`, one second apart.
QString gnomeName(int n);
bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// One line of a case's figures on standard output: "[soak] <case>: <figures>".
void report(const char *caseName, const QString &figures);
double seconds(const QElapsedTimer &timer);

// Settings of `profile` for the tray application: `folder` watched since a minute ago, onboarding done, names from
// the recognised text when no model answers.
void prepareTrayProfile(TestProfile &profile, const QString &folder);
// The tray application of the build tree over `profile`; empty when it did not come up (it owns its bus name).
std::unique_ptr<QProcess> startTray(TestProfile &profile);
// Ends it as the session does at logout; true when it quit cleanly.
bool stopTray(QProcess &tray);

} // namespace Soak

// Readable failures of comparisons between texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
