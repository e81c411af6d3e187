// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "TextRecognizer.h"

#include <vector>

// Turns the engine's lines into the lines a person reads: a line is cut where a column gutter runs through it,
// words the engine is unsure of are left out, Latin and Cyrillic look-alikes are written in the script around
// them, and icons, check boxes and window buttons read as characters are dropped from the ends of lines. Lines
// reported without words pass unchanged.
namespace LineCleanup {

std::vector<TextRecognizer::Observation> clean(const std::vector<TextRecognizer::Observation> &lines);

} // namespace LineCleanup
