// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ScreenshotFeatures.h"

#include <optional>
#include <vector>

// Splits recognised lines into the columns of a window (sidebar, list, detail pane) and orders them for reading.
namespace ScreenLayout {

using Line = ScreenshotFeatures::Line;
using Column = std::vector<Line>;

struct ReadingOrder
{
    std::vector<Line> lines;
    // Lines at the front of lines that form the main column; empty when there is a single column.
    std::optional<int> mainCount;
};

// The point of a line that decides its column: wide lines belong where they start.
double anchor(const Line &line);
// Stable row order: lines on nearly the same row read left to right, other lines top to bottom.
void sortInRowOrder(std::vector<Line> &lines);
std::vector<Column> columns(const std::vector<Line> &lines);
ReadingOrder readingOrder(const std::vector<Line> &lines);

} // namespace ScreenLayout
