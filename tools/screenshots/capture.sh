#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors
#
# Saves the screenshots of the interface into docs/screenshots/: each state runs in its own temporary profile
# (XDG_CONFIG_HOME, XDG_DATA_HOME and HOME) under a virtual X server.
#   tools/screenshots/capture.sh [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
tool="$build/tools/screenshots/zentrope-screenshots"
out="$root/docs/screenshots"
[ -x "$tool" ] || { echo "build the zentrope-screenshots target in $build first" >&2; exit 1; }
mkdir -p "$out"
for state in fine attention batch empty dark onboarding settings settings-dark settings-ru; do
    profile=$(mktemp -d)
    HOME="$profile/home" XDG_CONFIG_HOME="$profile/config" XDG_DATA_HOME="$profile/data" \
        XDG_RUNTIME_DIR="$profile/run" LANG=C.UTF-8 LANGUAGE=en QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s "-screen 0 1280x900x24" "$tool" "$state" "$out"
    rm -rf "$profile"
done
