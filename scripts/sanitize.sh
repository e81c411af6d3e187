#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors
#
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer (preset "sanitize") and runs the unit tests with them.
# Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(pwd)/scripts/bootstrap.sh"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec dbus-run-session -- ctest --preset sanitize --no-tests=error "$@"
