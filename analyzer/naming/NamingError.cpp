// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingError.h"

#include "L10n.h"

QString NamingError::description() const
{
    switch (kind) {
    case Case::aiUnavailableNoFallback:
        return L("error.aiUnavailableKeep");
    case Case::aiFailedNoFallback:
        return L("error.aiFailedKeep", message);
    case Case::aiBusy:
        return message;
    case Case::nothingRecognized:
        break;
    }
    return L("error.nothingRecognized");
}
