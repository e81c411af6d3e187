// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The default file names of the Linux screenshot tools (GNOME, Spectacle, XFCE, ksnip, grim, Deepin, Flameshot).
namespace ToolScreenshotNames {

// Date and time written in a tool's file name; `utc` when the tool writes UTC rather than local time.
struct DateTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool utc = false;
};

// Whether `stem` (a file name without its extension) is wholly one of the tools' default names.
bool matches(const QString &stem);
// The date and time in `stem` when it is one of the tools' default names.
std::optional<DateTime> dateTime(const QString &stem);
// Whether `stem` has the date-and-time shape of the GNOME and XFCE names after any short prefix (a language not
// listed, a prefix of the user's); such names count only with a screen-capture mark on the file.
bool matchesAnyPrefixShape(const QString &stem);

// The translated words before the date in GNOME's names ("Screenshot from", "Снимок экрана от", …).
const QStringList &gnomePrefixes();

} // namespace ToolScreenshotNames
