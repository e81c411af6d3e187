// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QHash>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// Display names of installed applications, found by the window class their windows carry.
class DesktopEntryIndex
{
public:
    DesktopEntryIndex() = default;

    // Reads the "applications" folders of `dataDirs` (most important first); `locale` such as "ru_RU" picks the
    // translated name.
    static DesktopEntryIndex load(const QStringList &dataDirs, const QString &locale);
    // XDG_DATA_HOME (else ~/.local/share) followed by XDG_DATA_DIRS (else /usr/local/share:/usr/share).
    static QStringList xdgDataDirs(const QProcessEnvironment &environment, const QString &home);

    // The name of the application whose entry's StartupWMClass, else file name, equals the window's class or
    // instance name (ignoring case).
    std::optional<QString> displayName(const QString &instanceName, const QString &className) const;

private:
    QHash<QString, QString> m_byWmClass;
    QHash<QString, QString> m_byFileName;
};
