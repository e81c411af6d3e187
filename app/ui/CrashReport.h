// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

#include <optional>

// A short report of a fatal signal (which signal, when, the last action) left in the state folder, so that the
// next start can say once that the application stopped unexpectedly. The handler itself only makes calls that
// are safe inside a signal handler, then lets the signal take its course.
namespace CrashReport {

// "$XDG_STATE_HOME/zentrope", else "~/.local/state/zentrope".
QString defaultDirectory();
// Handles SIGSEGV, SIGBUS, SIGILL, SIGFPE and SIGABRT by writing "crash.txt" into `directory`.
void install(const QString &directory);
// What the application was last asked to do; `action` must be a string literal (it is kept by address).
void noteAction(const char *action);

// The report an earlier run left, once: it is kept as "last-crash.txt" and not reported again.
std::optional<QString> takeReport(const QString &directory);
QString keptReportPath(const QString &directory);

} // namespace CrashReport
