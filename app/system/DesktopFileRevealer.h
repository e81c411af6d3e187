// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "FileRevealer.h"

#include <QDBusConnection>
#include <QObject>

#include <functional>

// Reveals files through the file manager's ShowItems call on the session bus, and opens the file's folder
// instead when no file manager answers it.
class DesktopFileRevealer final : public QObject, public FileRevealer
{
    Q_OBJECT

public:
    // Opens a location with the desktop's default handler.
    using Opener = std::function<void(const QString &path)>;

    explicit DesktopFileRevealer(QDBusConnection sessionBus = QDBusConnection::sessionBus(), Opener opener = {},
                                 QObject *parent = nullptr);

    void reveal(const QString &filePath) override;
    void openFolder(const QString &folderPath) override;

    // xdg-open, started detached so a slow handler never holds the application up.
    static void openWithDefaultHandler(const QString &path);

    static constexpr const char *service = "org.freedesktop.FileManager1";
    static constexpr const char *path = "/org/freedesktop/FileManager1";
    static constexpr const char *interface = "org.freedesktop.FileManager1";
    // A file manager that has to start first may take a while to answer.
    static constexpr int callTimeoutMs = 10000;

private:
    QDBusConnection m_bus;
    Opener m_opener;
};
