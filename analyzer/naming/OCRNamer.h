// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ScreenshotFeatures.h"

#include <QString>

#include <optional>

// A title from the recognised text alone: the most prominent line that reads like a heading.
namespace OCRNamer {

// False for clocks, menu bars, web addresses and lines that are mostly not letters.
bool isUsable(const QString &text);

// The most prominent usable line (a very short one extended by the next), cut to maxWords words.
std::optional<QString> title(const ScreenshotFeatures &features, int maxWords);

} // namespace OCRNamer
