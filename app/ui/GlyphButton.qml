// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls

// A small borderless button showing one glyph, with its help text as a tooltip.
ToolButton {
    id: button
    property string glyph
    property string help
    property color tint: Theme.secondary

    icon.source: Theme.icon(glyph)
    icon.width: 16
    icon.height: 16
    icon.color: hovered ? Theme.text : tint
    padding: 5
    background: Rectangle {
        radius: 6
        color: button.down ? Theme.border : (button.hovered ? Theme.hover : "transparent")
    }
    ToolTip.visible: hovered && help.length > 0
    ToolTip.delay: 600
    ToolTip.text: help
    Accessible.name: help
}
