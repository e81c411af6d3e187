// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A round picture with a person's initials.
Rectangle {
    property alias initials: letters.text
    property int size: 36
    width: size
    height: size
    radius: size / 2
    color: Qt.hsla((initials.charCodeAt(0) * 37 % 360) / 360, 0.45, Theme.dark ? 0.42 : 0.62, 1)
    Glyph {
        id: letters
        anchors.centerIn: parent
        color: "white"
        font.pixelSize: parent.size * 0.4
        font.bold: true
    }
}
