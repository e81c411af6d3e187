// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Path questions the application model asks of the file system.
namespace PipelinePaths {

// The path with symbolic links resolved, or the cleaned path itself when it cannot be resolved.
QString resolvedPath(const QString &path);

bool existsAt(const QString &path);

// Why the file cannot be opened for reading (an errno value), or 0 when it can.
int openError(const QString &path);

// When the file at `path` was born, where the file system records it; modification times do not count.
std::optional<QDateTime> birthTime(const QString &path);

// The file manager's name of a folder.
QString displayName(const QString &path);

} // namespace PipelinePaths
