// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OpenMpThreadLimit.h"

#include <cstdlib>
#include <unistd.h>

namespace OpenMpThreadLimit {

bool needsRestart(const char *value)
{
    return value == nullptr || *value == '\0';
}

void restartSingleThreadedIfNeeded(char *argv[])
{
    if (!needsRestart(std::getenv("OMP_THREAD_LIMIT"))) {
        return;
    }
    if (setenv("OMP_THREAD_LIMIT", "1", 1) != 0) {
        return;
    }
    // /proc/self/exe names this very binary even when argv[0] is relative or was found on PATH.
    execv("/proc/self/exe", argv);
}

} // namespace OpenMpThreadLimit
