// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

// Keeps Tesseract's OpenMP to one thread: on two cores its threads fight and recognition gets several times
// slower. OpenMP reads the limit only when the process starts, so the program re-executes itself with it set.
namespace OpenMpThreadLimit {

// Whether a process whose OMP_THREAD_LIMIT is value (null when unset) must restart; a limit the user chose stays.
bool needsRestart(const char *value);

// Re-executes the running program with OMP_THREAD_LIMIT=1 when needed. Returns only when no restart happened
// (not needed, or the re-execution failed and the program runs on as it is).
void restartSingleThreadedIfNeeded(char *argv[]);

} // namespace OpenMpThreadLimit
