// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// Any file name against the screenshot name patterns: no crash, no runaway matching, a date read from exactly the
// names that match, and a valid capture date whatever the name says.
#include "FrontAppLog.h"
#include "FuzzInput.h"
#include "ScreenshotDetector.h"
#include "ToolScreenshotNames.h"

#include <QTimeZone>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    const QString stem = input.restText();
    const bool tool = ToolScreenshotNames::matches(stem);
    ToolScreenshotNames::matchesAnyPrefixShape(stem);
    // The numbers are read as written ("20247127" has month 71); the capture date below checks them.
    fuzzCheck(ToolScreenshotNames::dateTime(stem).has_value() == tool, "a date is read from every tool name only");
    ScreenshotDetector::looksLikeScreenshot(QStringLiteral("/nonexistent/") + stem + QStringLiteral(".png"));
    const QDateTime fallback(QDate(2026, 11, 12), QTime(10, 42, 17), QTimeZone::utc());
    fuzzCheck(FrontAppLog::captureDate(stem + QStringLiteral(".png"), fallback).isValid(), "a valid capture date");
    return 0;
}
