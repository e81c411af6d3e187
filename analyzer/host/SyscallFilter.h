// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// A seccomp filter over every thread of the process. It refuses what the analyzer never needs: starting
// programs, tracing, mounting, kernel modules, keyrings, removing or renaming files, new Unix sockets and
// listening, and a few more. Refused calls fail with an error code rather than killing the process, so a library that
// tries one gets an ordinary error back.
namespace SyscallFilter {

// Installs the filter; false with the reason when the kernel or libseccomp refuses. Needs no_new_privs (or
// CAP_SYS_ADMIN). Once installed it cannot be lifted.
bool install(QString *error = nullptr);

} // namespace SyscallFilter
