// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// An icon drawn from a symbol font: pixels that look like characters but are no text.
Text {
    readonly property bool glyph: true
    color: Theme.muted
    font.family: Theme.ui
    font.pixelSize: 16
}
