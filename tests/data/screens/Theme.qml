// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
pragma Singleton
import QtQuick

// Colours and fonts of the mock-ups; each screen sets `dark`.
QtObject {
    property bool dark: false
    readonly property color background: dark ? "#1e1f22" : "#ffffff"
    readonly property color panel: dark ? "#2b2d31" : "#f4f5f7"
    readonly property color chrome: dark ? "#18191c" : "#e9eaee"
    readonly property color text: dark ? "#e3e4e8" : "#1f2328"
    readonly property color muted: dark ? "#9a9ca3" : "#646b75"
    readonly property color line: dark ? "#3a3c42" : "#d5d9df"
    readonly property color accent: dark ? "#4d8df7" : "#1f6feb"
    readonly property color selection: dark ? "#35373c" : "#dde8fb"
    readonly property string sans: "Noto Sans"
    readonly property string ui: "DejaVu Sans"
    readonly property string mono: "DejaVu Sans Mono"
}
