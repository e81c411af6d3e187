// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A small pill with a count or a status word.
Rectangle {
    property alias text: label.text
    property color tint: Theme.accent
    width: label.implicitWidth + 14
    height: 20
    radius: 10
    color: tint
    Label {
        id: label
        anchors.centerIn: parent
        color: "white"
        font.pixelSize: 12
        font.bold: true
    }
}
