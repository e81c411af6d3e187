#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors
#
# Installs what is missing, builds a release, and starts Zentrope from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(pwd)/scripts/bootstrap.sh"
cmake --preset release >/dev/null
cmake --build --preset release

build/release/analyzer/zentrope-analyzer --version
exec build/release/app/zentrope "$@"
