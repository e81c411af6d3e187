// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// Any file name against the screenshot name patterns: no crash, no runaway matching, and a date read from a name
// is a real date and time.
#include "FrontAppLog.h"
#include "FuzzInput.h"
#include "ScreenshotDetector.h"
#include "ToolScreenshotNames.h"

#include <QTimeZone>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    const QString stem = input.restText();
    ToolScreenshotNames::matches(stem);
    ToolScreenshotNames::matchesAnyPrefixShape(stem);
    if (const std::optional<ToolScreenshotNames::DateTime> when = ToolScreenshotNames::dateTime(stem)) {
        fuzzCheck(when->month >= 1 && when->month <= 12 && when->day >= 1 && when->day <= 31, "a real day");
        fuzzCheck(when->hour >= 0 && when->hour <= 23 && when->minute >= 0 && when->minute <= 59 && when->second >= 0 &&
                      when->second <= 60,
                  "a real time");
    }
    ScreenshotDetector::looksLikeScreenshot(QStringLiteral("/nonexistent/") + stem + QStringLiteral(".png"));
    const QDateTime fallback(QDate(2026, 11, 12), QTime(10, 42, 17), QTimeZone::utc());
    fuzzCheck(FrontAppLog::captureDate(stem + QStringLiteral(".png"), fallback).isValid(), "a valid capture date");
    return 0;
}
