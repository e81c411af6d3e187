// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// An on/off switch.
Rectangle {
    property bool on: true
    width: 40
    height: 22
    radius: 11
    color: on ? Theme.accent : Theme.line
    Rectangle {
        width: 18
        height: 18
        radius: 9
        y: 2
        x: on ? 20 : 2
        color: "white"
    }
}
