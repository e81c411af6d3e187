// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

#include <array>
#include <optional>

// Which new files in a watched folder are processed: screenshots only, or any fresh image.
enum class ProcessingScope {
    screenshots,
    allImages,
};

namespace ProcessingScopes {
// In the order the user is offered them.
inline constexpr std::array<ProcessingScope, 2> all{ProcessingScope::screenshots, ProcessingScope::allImages};

QString rawValue(ProcessingScope scope);
// Absent for any text that is not exactly a raw value.
std::optional<ProcessingScope> fromRawValue(const QString &rawValue);
// Localisation keys of the scope's title and subtitle.
const char *titleKey(ProcessingScope scope);
const char *subtitleKey(ProcessingScope scope);
} // namespace ProcessingScopes
