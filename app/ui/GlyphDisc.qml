// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import Zentrope.Ui

// A white glyph on a coloured disc.
Rectangle {
    property string glyph
    property int size: 26
    implicitWidth: size
    implicitHeight: size
    radius: size / 2
    Image {
        anchors.centerIn: parent
        width: Math.round(parent.size * 0.6)
        height: width
        sourceSize: Qt.size(width * 2, height * 2)
        source: Theme.orbIcon(parent.glyph)
    }
}
