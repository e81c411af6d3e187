// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// Whether this copy of the program can keep working where it lies.
namespace TemporaryLocation {

// Inside an AppImage's runtime mount ("/tmp/.mount_…" or any "/.mount_" folder), which goes away with the program.
bool contains(const QString &programPath);

// The launch warns that Zentrope is not installed when it runs from an AppImage (`appImage` is the APPIMAGE
// variable) or from a place that goes away, or when the analyzer can neither be activated by the session bus
// nor started from beside the program. A build or an install prefix anywhere else works as it is.
bool warns(const QString &programPath, const QString &appImage, bool analyzerReachable);

} // namespace TemporaryLocation
