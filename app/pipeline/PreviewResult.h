// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeResponse.h"

#include <QString>

// The name a file would get with the current settings, and everything the analyzer said about it.
struct PreviewResult
{
    // Base name, then "." and the extension when the file has one.
    QString fileName;
    AnalyzeResponse response;
};
