// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingEngineKind.h"

QString rawValue(NamingEngineKind kind)
{
    switch (kind) {
    case NamingEngineKind::ai:
        return QStringLiteral("ai");
    case NamingEngineKind::ocr:
        return QStringLiteral("ocr");
    case NamingEngineKind::manual:
        return QStringLiteral("manual");
    }
    return {};
}

std::optional<NamingEngineKind> namingEngineKindFromRaw(QStringView raw)
{
    for (const auto kind : {NamingEngineKind::ai, NamingEngineKind::ocr, NamingEngineKind::manual}) {
        if (raw == rawValue(kind))
            return kind;
    }
    return std::nullopt;
}
