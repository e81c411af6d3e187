// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A coloured disc with the glyph of the status kind.
Rectangle {
    property string kind: "ok"
    property int size: 40

    width: size
    height: size
    radius: size / 2
    color: Theme.kindColors[kind] ?? Theme.grey

    Behavior on color { ColorAnimation { duration: 200 } }

    Image {
        anchors.centerIn: parent
        width: parent.size * 0.55
        height: width
        sourceSize: Qt.size(width * 2, height * 2)
        source: Theme.orbIcon(Theme.kindGlyphs[parent.kind] ?? "checkmark")
    }
}
