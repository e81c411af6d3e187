// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SettingsAddress.h"

#include <QProcess>

std::optional<SettingsAddress> SettingsAddress::parse(const QString &text)
{
    static const QString execPrefix = QStringLiteral("exec:");
    if (text.startsWith(execPrefix)) {
        const QStringList command = QProcess::splitCommand(text.mid(execPrefix.size()));
        if (command.isEmpty() || command.first().isEmpty())
            return std::nullopt;
        return SettingsAddress{command, {}};
    }
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"https" && url.scheme() != u"http"))
        return std::nullopt;
    return SettingsAddress{{}, url};
}

bool SettingsAddress::open(const QStringList &addresses, const Opener &opener)
{
    for (const QString &text : addresses) {
        const auto address = parse(text);
        if (!address)
            continue;
        const bool opened = address->command.isEmpty() ? opener.openUrl(address->url) : opener.run(address->command);
        if (opened)
            return true;
    }
    return false;
}

QStringList SettingsAddress::notificationSettings()
{
    return {QStringLiteral("exec:gnome-control-center notifications"),
            QStringLiteral("exec:systemsettings kcm_notifications"), QStringLiteral("exec:xfce4-notifyd-config"),
            QStringLiteral("exec:mate-notification-properties")};
}

QStringList SettingsAddress::modelServerSettings()
{
    return {QStringLiteral("https://ollama.com/download"),
            QStringLiteral("https://github.com/ggml-org/llama.cpp/blob/master/tools/server/README.md")};
}

QStringList SettingsAddress::visionModels()
{
    return {QStringLiteral("https://ollama.com/search?c=vision")};
}

QStringList SettingsAddress::autostartSettings()
{
    return {QStringLiteral("exec:gnome-tweaks"), QStringLiteral("exec:systemsettings kcm_autostart"),
            QStringLiteral("exec:xfce4-session-settings")};
}
