// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AINamerError.h"

#include "L10n.h"

QString AINamerError::description() const
{
    switch (kind) {
    case Case::unavailable:
        return L("error.aiUnavailable");
    case Case::generation:
    case Case::busy:
    case Case::model:
        return message;
    case Case::nothingToDescribe:
        return L("error.nothingToDescribe");
    case Case::emptyAnswer:
        return L("error.emptyAnswer");
    case Case::ungrounded:
        return L("error.ungrounded");
    }
    return message;
}
