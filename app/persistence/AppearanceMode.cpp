// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppearanceMode.h"

QString rawValue(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::system:
        return QStringLiteral("system");
    case AppearanceMode::light:
        return QStringLiteral("light");
    case AppearanceMode::dark:
        return QStringLiteral("dark");
    }
    return {};
}

std::optional<AppearanceMode> appearanceModeFromRaw(QStringView raw)
{
    for (const AppearanceMode mode : allAppearanceModes) {
        if (raw == rawValue(mode))
            return mode;
    }
    return std::nullopt;
}

const char *labelKey(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::system:
        return "appearance.system";
    case AppearanceMode::light:
        return "appearance.light";
    case AppearanceMode::dark:
        return "appearance.dark";
    }
    return "";
}
