#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors
#
# Installs every Debian package that building, testing and running Zentrope needs.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

PACKAGES=(
    # toolchain
    build-essential cmake ninja-build pkg-config git clang-format
    # Qt 6
    qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools qt6-svg-dev
    qt6-image-formats-plugins qt6-wayland libqt6svg6
    qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts qml6-module-qtquick-window
    qml6-module-qtquick-templates qml6-module-qtqml-workerscript qml6-module-qtquick-dialogs
    qml6-module-qttest qt6-declarative-dev-tools
    libgl-dev libegl-dev libxkbcommon-dev
    # coroutines, Unicode, recognition, language identification
    qcoro-qt6-dev libicu-dev
    libtesseract-dev libleptonica-dev tesseract-ocr tesseract-ocr-eng tesseract-ocr-rus
    libcld2-dev
    # X11 active-window source
    libxcb1-dev
    # the analyzer's system-call filter
    libseccomp-dev
    # tests: GoogleTest, private session bus, virtual display, fonts for rendered test images
    libgtest-dev libgmock-dev googletest dbus dbus-bin dbus-daemon xvfb xauth
    fonts-dejavu-core fonts-noto-core
    # release checks: the Debian package (dpkg-shlibdeps, file), the desktop entry and AppStream validators
    dpkg-dev file desktop-file-utils appstream
    # fuzzing: clang with libFuzzer and the sanitizer runtimes
    clang libclang-rt-14-dev
)

if [[ ${EUID} -eq 0 ]]; then
    SUDO=()
else
    SUDO=(sudo)
fi

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    "${SUDO[@]}" apt-get update -q
    "${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
