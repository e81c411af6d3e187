// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// Whether the program runs from a place it was not installed to, where the bus cannot start its analyzer.
namespace TemporaryLocation {

// Inside an AppImage's runtime mount ("/tmp/.mount_…" or any "/.mount_" folder), or anywhere under /tmp.
bool contains(const QString &programPath);

} // namespace TemporaryLocation
