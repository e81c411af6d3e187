// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// The root of a mock-up: its size in logical pixels, the scale it is captured at, and what it is about.
Rectangle {
    id: screen
    // Phrases naming the screen's subject, "|" between alternatives; empty when it has none.
    property string subject
    // Why the naming rules miss the subject although the text is read right; empty when they name it.
    property string namingLimit
    property bool dark: false
    property real pixelScale: 1
    color: Theme.background

    Binding {
        target: Theme
        property: "dark"
        value: screen.dark
    }
}
