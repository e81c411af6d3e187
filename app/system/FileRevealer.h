// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// Shows files and folders in the desktop's file manager.
class FileRevealer
{
public:
    virtual ~FileRevealer() = default;

    // Opens a file-manager window with the file selected.
    virtual void reveal(const QString &filePath) = 0;
    // Opens the folder with the desktop's default handler.
    virtual void openFolder(const QString &folderPath) = 0;
};
