#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors
#
# Builds the libFuzzer targets with clang (preset "fuzz": ASan + UBSan) and runs each for $ZENTROPE_FUZZ_SECONDS
# (default 30), after the inputs that once broke them. Extra arguments go to ctest, e.g. `scripts/fuzz.sh -R history`.
# New findings are left in build/fuzz/fuzz/findings-<target>-*; the corpus grows in build/fuzz/fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(pwd)/scripts/bootstrap.sh"
cmake --preset fuzz -DZENTROPE_FUZZ_SECONDS="${ZENTROPE_FUZZ_SECONDS:-30}" >/dev/null
cmake --build --preset fuzz
exec ctest --preset fuzz --no-tests=error "$@"
