// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// Text a person reads on the screen; `heading` marks the lines whose recognition matters most.
Text {
    property bool heading: false
    property bool muted: false
    color: muted ? Theme.muted : Theme.text
    font.family: Theme.sans
    font.pixelSize: 14
}
