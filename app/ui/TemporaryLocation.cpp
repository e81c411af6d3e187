// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TemporaryLocation.h"

namespace TemporaryLocation {

bool contains(const QString &programPath)
{
    return programPath.contains(u"/.mount_");
}

bool warns(const QString &programPath, const QString &appImage, bool analyzerReachable)
{
    return !appImage.isEmpty() || contains(programPath) || !analyzerReachable;
}

} // namespace TemporaryLocation
