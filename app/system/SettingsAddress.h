// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

// A place where the user fixes a setup problem: a desktop settings program ("exec:program arguments…") or a web
// page ("https://…").
struct SettingsAddress
{
    // The program and its arguments; empty for a web page.
    QStringList command;
    QUrl url;

    // Absent when the text is neither a non-empty command nor an absolute http(s) address.
    static std::optional<SettingsAddress> parse(const QString &text);

    // How addresses are opened: each answers whether it opened one.
    struct Opener
    {
        std::function<bool(const QStringList &command)> run;
        std::function<bool(const QUrl &url)> openUrl;
    };

    // Tries the addresses in order, skipping those that do not parse, and stops at the first that opens.
    static bool open(const QStringList &addresses, const Opener &opener);

    // The lists the setup checks pass to open, most specific first.
    static QStringList notificationSettings();
    static QStringList modelServerSettings();
    static QStringList visionModels();
    static QStringList autostartSettings();
};
