#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors
#
# Installs what is missing, builds, and runs the whole test suite on a private session bus and a virtual display.
# Extra arguments go to ctest, e.g. `scripts/test.sh -L unit` or `scripts/test.sh -R Detector`.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(pwd)/scripts/bootstrap.sh"

preset=dev
if [[ -n ${CI:-} ]]; then
    preset=ci
fi

cmake --preset "$preset" >/dev/null
if [[ -n ${CI:-} ]]; then
    cmake --build --preset "$preset" --target format-check
fi
cmake --build --preset "$preset"

# Tests that need their own bus start one; the others share this one.
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1920x1080x24" \
    ctest --preset "$preset" --no-tests=error "$@"
