// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <optional>

// Where the desktop's screenshot tools save and what they call their files, read from the tools' own settings.
class ScreenshotToolSettings
{
public:
    // `home` is the user's home folder; `environment` supplies XDG_CONFIG_HOME, XDG_SCREENSHOTS_DIR and
    // XDG_PICTURES_DIR.
    ScreenshotToolSettings(QString home, QProcessEnvironment environment);

    // The settings of the current user, under the home folder the session set.
    static ScreenshotToolSettings system();
    // The home folder recorded for the current user, else the process's own idea of it.
    static QString realHomeDirectory();

    // The folder screenshots are saved to: the first of Spectacle's, Flameshot's and XFCE Screenshooter's save
    // folders, XDG_SCREENSHOTS_DIR, an existing "Screenshots" folder (or its translation) in Pictures, Pictures.
    QString screenshotFolder() const;
    // The literal start of the file-name template of Spectacle or Flameshot, trimmed; absent when there is none.
    std::optional<QString> customPrefix() const;
    // The XDG Pictures folder, else ~/Pictures.
    QString picturesFolder() const;

private:
    QString configHome() const;
    // `value` of a setting as an absolute folder: file URLs, "~" and "$HOME" expanded; empty when unusable.
    QString folderFromSetting(QString value) const;

    QString m_home;
    QProcessEnvironment m_environment;
};
