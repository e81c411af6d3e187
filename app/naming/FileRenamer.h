// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "FileID.h"
#include "RenameCalls.h"
#include "RenameError.h"

#include <QString>

#include <optional>

// Where a file stands after a rename, or why it stayed where it was.
class RenameResult
{
public:
    RenameResult(const QString &path)
        : m_path(path)
    {}
    RenameResult(const RenameError &error)
        : m_error(error)
    {}

    bool ok() const { return !m_error.has_value(); }
    // The file's location afterwards; empty on failure.
    const QString &path() const { return m_path; }
    const std::optional<RenameError> &error() const { return m_error; }

private:
    QString m_path;
    std::optional<RenameError> m_error;
};

// Renames a file inside its folder without ever replacing another file, and puts original names back.
namespace FileRenamer {

// Names tried per rename: the name itself, then the name with the numbers 2 to 999.
inline constexpr int maximumNumber = 999;

// Renames `path` to `toBaseName` plus its current extension (letter case kept). When the name is taken, the
// name followed by `separator` and 2, 3, ... is tried. Refuses when `expectedID` is given and another file
// now stands at `path`. On failure the file has not moved.
RenameResult rename(const QString &path, const QString &toBaseName, const QString &separator,
                    const std::optional<FileID> &expectedID, const RenameCalls &calls = RenameCalls::system());

// Gives a renamed file back its original full name `toFileName`, or the original base name with the file's
// current extension, numbered with spaces when taken.
RenameResult restore(const QString &path, const QString &toFileName, const std::optional<FileID> &expectedID,
                     const RenameCalls &calls = RenameCalls::system());

} // namespace FileRenamer
