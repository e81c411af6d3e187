// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NotificationMode.h"

QString rawValue(NotificationMode mode)
{
    switch (mode) {
    case NotificationMode::all:
        return QStringLiteral("all");
    case NotificationMode::errors:
        return QStringLiteral("errors");
    case NotificationMode::off:
        return QStringLiteral("off");
    }
    return {};
}

std::optional<NotificationMode> notificationModeFromRaw(QStringView raw)
{
    for (const NotificationMode mode : allNotificationModes) {
        if (raw == rawValue(mode))
            return mode;
    }
    return std::nullopt;
}

const char *labelKey(NotificationMode mode)
{
    switch (mode) {
    case NotificationMode::all:
        return "notifications.all";
    case NotificationMode::errors:
        return "notifications.errors";
    case NotificationMode::off:
        return "notifications.off";
    }
    return "";
}
