// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "FolderAccess.h"

// The desktop's file chooser (through the file-chooser portal where one runs) for folders and images.
class FileDialogFolderAccess : public FolderAccess
{
public:
    std::optional<QString> chooseFolder(const QString &suggested, const QString &message) override;
    QStringList chooseImages(bool multiple) override;
};
