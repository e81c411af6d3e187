// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ActivationSource.h"
#include "DesktopEntryIndex.h"

#include <QDBusConnection>
#include <QStringList>
#include <QTemporaryFile>

#include <memory>

// Activations on KDE Plasma (Wayland and X11 windows alike): a small KWin script, loaded through KWin's scripting
// interface on the session bus, reports every activated window back to this process over the bus.
class KWinScriptActivationSource final : public ActivationSource
{
    Q_OBJECT
public:
    static constexpr const char *kwinService = "org.kde.KWin";
    static constexpr const char *scriptingPath = "/Scripting";
    static constexpr const char *scriptingInterface = "org.kde.kwin.Scripting";
    static constexpr const char *pluginName = "org.zentrope.Zentrope.activation";
    static constexpr const char *reportPath = "/org/zentrope/Zentrope/Activation";
    static constexpr const char *reportInterface = "org.zentrope.Zentrope.Activation1";

    // `dataDirs` are where desktop entries are looked up (the XDG ones when empty).
    explicit KWinScriptActivationSource(const QDBusConnection &connection = QDBusConnection::sessionBus(),
                                        QStringList dataDirs = {}, QObject *parent = nullptr);
    ~KWinScriptActivationSource() override;

    // Loads and runs the script; the answer of KWin comes later. False without a bus.
    bool start() override;
    void stop() override;
    std::optional<QString> frontmostApplication() const override { return m_current; }

    // The script, calling back to `service` (this connection's unique name).
    static QByteArray script(const QString &service);

private:
    class Receiver;
    void report(const QString &desktopFile, const QString &resourceClass, const QString &resourceName);

    QDBusConnection m_connection;
    QStringList m_dataDirs;
    DesktopEntryIndex m_entries;
    std::unique_ptr<Receiver> m_receiver;
    std::unique_ptr<QTemporaryFile> m_scriptFile;
    bool m_started = false;
    std::optional<QString> m_current;
};
