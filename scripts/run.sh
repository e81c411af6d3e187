#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors
#
# Installs what is missing, builds a release, installs it into your own prefix (~/.local, or $ZENTROPE_PREFIX) so
# the session bus, the desktop's menu and its icon theme find it, and starts Zentrope from there.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(pwd)/scripts/bootstrap.sh"
prefix=${ZENTROPE_PREFIX:-$HOME/.local}
cmake --preset release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_TESTING=OFF >/dev/null
cmake --build --preset release
cmake --install build/release >/dev/null
echo "Installed into $prefix: bin/zentrope, libexec/zentrope-analyzer, the analyzer's D-Bus service, the menu entry and icon."

exec "$prefix/bin/zentrope" "$@"
