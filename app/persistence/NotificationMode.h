// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// Which events the user wants to hear about: renames, failures and batches; failures only; nothing.
enum class NotificationMode { all, errors, off };

inline constexpr std::array allNotificationModes{NotificationMode::all, NotificationMode::errors,
                                                 NotificationMode::off};

// Persisted raw values, equal to the case names.
QString rawValue(NotificationMode mode);
std::optional<NotificationMode> notificationModeFromRaw(QStringView raw);
// Localisation key of the case's label in the settings tab.
const char *labelKey(NotificationMode mode);
