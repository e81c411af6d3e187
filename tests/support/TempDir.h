// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder that disappears with the test, with shortcuts for making files in it.
class TempDir
{
public:
    TempDir();

    QString path() const { return m_dir.path(); }
    // Absolute path of `relative` inside the folder; nothing is created.
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }
    // Writes `bytes` to `relative` (creating parent folders) and returns the absolute path.
    QString write(const QString &relative, const QByteArray &bytes = {}) const;
    // Creates the subfolder `relative` and returns its absolute path.
    QString mkdir(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};
