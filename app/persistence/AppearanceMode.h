// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// How the windows look: as the desktop prefers, always light or always dark.
enum class AppearanceMode { system, light, dark };

inline constexpr std::array allAppearanceModes{AppearanceMode::system, AppearanceMode::light, AppearanceMode::dark};

// Persisted raw values, equal to the case names.
QString rawValue(AppearanceMode mode);
std::optional<AppearanceMode> appearanceModeFromRaw(QStringView raw);
// Localisation key of the case's label in the settings tab.
const char *labelKey(AppearanceMode mode);
