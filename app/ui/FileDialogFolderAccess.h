// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "FolderAccess.h"

#include <functional>

// The desktop's file chooser (through the file-chooser portal where one runs) for folders and images; both
// start in the screenshot folder unless told otherwise.
class FileDialogFolderAccess : public FolderAccess
{
public:
    // `screenshotFolder` empty: the folder the desktop's screenshot tool saves into.
    explicit FileDialogFolderAccess(std::function<QString()> screenshotFolder = {});

    std::optional<QString> chooseFolder(const QString &suggested, const QString &message) override;
    QStringList chooseImages(bool multiple) override;

    // The nearest folder of `wanted` that exists, the home folder when none does.
    static QString startFolder(const QString &wanted);

private:
    std::function<QString()> m_screenshotFolder;
};
