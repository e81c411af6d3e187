// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The system's open panels that obtain a folder to watch or images for a one-off batch (main thread only).
class FolderAccess
{
public:
    virtual ~FolderAccess() = default;

    // A modal folder chooser with the prompt "panel.allow" and `message`, starting in `suggested` when given;
    // absent when the user cancels.
    virtual std::optional<QString> chooseFolder(const QString &suggested, const QString &message) = 0;
    // A modal chooser of image files with the prompt "panel.choose"; empty when the user cancels.
    virtual QStringList chooseImages(bool multiple) = 0;
};
