#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Zentrope contributors
#
# Builds the Debian package from a configured and built folder (default build/release) and checks what it holds:
# the programs, the menu entry, the icons, the analyzer's activation file and the AppStream metainfo, all for /usr,
# with the libraries it links declared as dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

rm -f "$build"/zentrope_*.deb
log=$(cd "$build" && cpack -G DEB 2>&1) || { echo "$log" >&2; exit 1; }
version=$(sed -n 's/^project(Zentrope VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb="$build/zentrope_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { echo "package.sh: $deb was not made" >&2; exit 1; }

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
missing=0
for file in ./usr/bin/zentrope ./usr/libexec/zentrope-analyzer \
    ./usr/share/applications/org.zentrope.Zentrope.desktop \
    ./usr/share/dbus-1/services/org.zentrope.Zentrope.Analyzer.service \
    ./usr/share/metainfo/org.zentrope.Zentrope.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/org.zentrope.Zentrope.svg \
    ./usr/share/icons/hicolor/48x48/apps/org.zentrope.Zentrope.png \
    ./usr/share/doc/zentrope/copyright; do
    if ! grep -qxF "$file" <<<"$contents"; then
        echo "package.sh: $deb lacks $file" >&2
        missing=1
    fi
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
grep -qxF 'Exec=/usr/libexec/zentrope-analyzer' "$unpacked/usr/share/dbus-1/services/org.zentrope.Zentrope.Analyzer.service" ||
    { echo "package.sh: the activation file does not name /usr/libexec/zentrope-analyzer" >&2; missing=1; }
grep -qxF 'Exec=/usr/bin/zentrope' "$unpacked/usr/share/applications/org.zentrope.Zentrope.desktop" ||
    { echo "package.sh: the menu entry does not name /usr/bin/zentrope" >&2; missing=1; }
desktop-file-validate "$unpacked/usr/share/applications/org.zentrope.Zentrope.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.zentrope.Zentrope.metainfo.xml" >/dev/null
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libtesseract5 libicu libseccomp2 libcld2 tesseract-ocr-eng; do
    grep -q "$library" <<<"$depends" || { echo "package.sh: Depends lacks $library" >&2; missing=1; }
done
((missing == 0)) || exit 1
echo "package.sh: $deb holds the programs, menu entry, icons, activation file and metainfo for /usr ($(du -h "$deb" | cut -f1))"
