// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TemporaryLocation.h"

namespace TemporaryLocation {

bool contains(const QString &programPath)
{
    return programPath.contains(u"/.mount_") || programPath.startsWith(u"/tmp/");
}

} // namespace TemporaryLocation
