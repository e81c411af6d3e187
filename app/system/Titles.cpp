// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Titles.h"

#include "L10n.h"

namespace Titles {

QString title(const AIAvailability &availability)
{
    switch (availability.kind()) {
    case AIAvailability::Kind::available:
        return L("ai.status.available");
    case AIAvailability::Kind::deviceNotEligible:
        return L("ai.status.notEligible");
    case AIAvailability::Kind::notEnabled:
        return L("ai.status.notEnabled");
    case AIAvailability::Kind::modelNotReady:
        return L("ai.status.notReady");
    case AIAvailability::Kind::unknown:
        break;
    }
    return L("ai.status.unknown");
}

QString tagTitle(NamingEngineKind engine)
{
    switch (engine) {
    case NamingEngineKind::ai:
        break;
    case NamingEngineKind::ocr:
        return L("tag.ocr");
    case NamingEngineKind::manual:
        return L("tag.manual");
    }
    return {};
}

} // namespace Titles
