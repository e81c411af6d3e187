// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A push button; `primary` fills it with the accent colour.
Rectangle {
    property alias text: label.text
    property bool primary: false
    width: label.implicitWidth + 32
    height: 34
    radius: 6
    color: primary ? Theme.accent : (Theme.dark ? "#35373c" : "#f0f1f3")
    border.color: primary ? Theme.accent : Theme.line
    Label {
        id: label
        anchors.centerIn: parent
        color: primary ? "white" : Theme.text
        font.bold: primary
    }
}
