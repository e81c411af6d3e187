// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AIAvailability.h"
#include "NamingEngineKind.h"

#include <QString>

// The application's display texts for the shared enumerations, in the current interface language.
namespace Titles {

// The readiness of the local model as the setup checks show it; every unknown reason reads the same.
QString title(const AIAvailability &availability);

// The badge next to a history entry; empty for names from the language model, which carry no badge.
QString tagTitle(NamingEngineKind engine);

} // namespace Titles
