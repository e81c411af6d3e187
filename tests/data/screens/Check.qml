// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A check box or radio button with its label.
Row {
    property alias text: label.text
    property bool checked: false
    property bool round: false
    spacing: 10
    Rectangle {
        width: 18
        height: 18
        radius: round ? 9 : 3
        anchors.verticalCenter: parent.verticalCenter
        color: checked ? Theme.accent : "transparent"
        border.color: checked ? Theme.accent : Theme.muted
        border.width: 2
        Glyph {
            anchors.centerIn: parent
            visible: checked
            text: round ? "●" : "✓"
            color: "white"
            font.pixelSize: round ? 8 : 13
        }
    }
    Label {
        id: label
        anchors.verticalCenter: parent.verticalCenter
    }
}
