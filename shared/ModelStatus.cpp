// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelStatus.h"

bool ModelStatus::supports(const QString &languageCode) const
{
    return isAvailable() && languages.contains(languageCode);
}
