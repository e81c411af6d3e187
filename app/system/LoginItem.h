// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

#include <optional>

// Starting the application with the desktop session, through an XDG autostart entry.
class LoginItem
{
public:
    static constexpr const char *entryName = "org.zentrope.Zentrope.desktop";
    // Tells the program it was started by the session, so nothing modal waits for the user.
    static constexpr const char *loginArgument = "--autostart";

    // `configHome` empty: $XDG_CONFIG_HOME, else ~/.config. `program` empty: this process's executable.
    explicit LoginItem(QString configHome = {}, QString program = {});

    // "<config>/autostart/org.zentrope.Zentrope.desktop".
    QString entryPath() const;
    // An entry that a desktop would start: present and not switched off with Hidden=true.
    bool isEnabled() const;
    // Writes or removes the entry; the text to show under the switch when that fails.
    std::optional<QString> set(bool enabled) const;

    // The entry's contents; `program` is quoted for the Exec key's rules and given the login argument.
    static QByteArray entryText(const QString &program);

private:
    QString m_configHome;
    QString m_program;
};
