// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ProcessingScope.h"

namespace ProcessingScopes {

QString rawValue(ProcessingScope scope)
{
    switch (scope) {
    case ProcessingScope::screenshots:
        return QStringLiteral("screenshots");
    case ProcessingScope::allImages:
        return QStringLiteral("allImages");
    }
    return {};
}

std::optional<ProcessingScope> fromRawValue(const QString &value)
{
    for (const ProcessingScope scope : all) {
        if (value == rawValue(scope))
            return scope;
    }
    return std::nullopt;
}

const char *titleKey(ProcessingScope scope)
{
    return scope == ProcessingScope::screenshots ? "scope.screenshots" : "scope.all";
}

const char *subtitleKey(ProcessingScope scope)
{
    return scope == ProcessingScope::screenshots ? "scope.screenshots.sub" : "scope.all.sub";
}

} // namespace ProcessingScopes
