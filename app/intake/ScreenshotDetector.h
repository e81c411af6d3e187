// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ProcessingScope.h"

#include <QCoroTask>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

class ScreenshotToolSettings;

// Decides which files in a watched folder are screenshots to be named, and when they are completely written.
// No operation reports an error: a file, attribute or folder that cannot be read gives the negative answer.
namespace ScreenshotDetector {

// Lower-case extensions of the image files considered at all.
bool isImageExtension(const QString &lowerCaseExtension);
// The start of the system's screenshot names in many languages, matched without regard to case.
const QStringList &knownPrefixes();
// The name pattern for the known prefixes plus `customPrefix` (trimmed of spaces and tabs) when there is one.
QString knownNamePattern(const std::optional<QString> &customPrefix);

// Where the desktop's screenshot tool saves, read afresh at each call.
QString systemScreenshotFolder();
QString systemScreenshotFolder(const ScreenshotToolSettings &settings);

// Whether a file a folder event reports is to be processed: a fresh screenshot (under 15 minutes old), or in the
// `allImages` scope any fresh image (under 2 minutes old). Symbolic links, hidden and partial files never are.
bool isCandidate(const QString &path, ProcessingScope scope, const QDateTime &now);
// Whether the file's name is a screenshot's; a name of a screenshot's shape with an unknown prefix counts only
// when the file carries a screen-capture mark.
bool looksLikeScreenshot(const QString &path);
// The screen-capture extended attribute, or the PNG text chunk that GNOME's screenshot tools write.
bool hasScreenCaptureMark(const QString &path);
// Whether a PNG or JPEG file ends with its end marker; true for other types without opening the file.
bool hasCompleteTrailer(const QString &path);
// Waits, without blocking the event loop, until the file has stopped changing and decodes as a whole image, or
// until `timeout` has passed.
QCoro::Task<bool> waitUntilComplete(QString path, std::chrono::milliseconds timeout);

// The screenshots directly in `folder`, oldest first.
QStringList existingScreenshots(const QString &folder);
// Those of existingScreenshots() created strictly after `createdAfter`.
QStringList screenshots(const QString &folder, const QDateTime &createdAfter);

// The birth time of the item at `path` (not following a link), else its modification time.
std::optional<QDateTime> creationDate(const QString &path);

} // namespace ScreenshotDetector
