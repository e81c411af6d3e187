// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
pragma Singleton
import QtQuick
import Zentrope.Ui

// Colours and sizes of the application's own light and dark looks.
QtObject {
    readonly property bool dark: App.appearance.dark
    readonly property color window: dark ? "#1c1d21" : "#f3f3f6"
    readonly property color card: dark ? "#27282d" : "#ffffff"
    readonly property color border: dark ? "#383940" : "#e1e1e6"
    readonly property color text: dark ? "#ececf0" : "#1d1d1f"
    readonly property color secondary: dark ? "#9d9da6" : "#6e6e76"
    readonly property color hover: dark ? "#32333a" : "#eeeef3"
    readonly property color field: dark ? "#1f2024" : "#ffffff"
    readonly property color control: dark ? "#393a41" : "#e7e7ed"
    readonly property color brand: "#7357f6"
    readonly property color green: "#2fa55a"
    readonly property color orange: "#e8890c"
    readonly property color red: "#e0464b"
    readonly property color grey: "#8e8e96"
    readonly property color blue: "#2f7cf6"
    readonly property color teal: "#12a19a"
    readonly property int radius: 10

    readonly property var kindColors: ({ "ok": green, "working": brand, "paused": grey, "attention": orange,
                                           "waiting": orange })
    readonly property var kindGlyphs: ({ "ok": "checkmark", "working": "sparkles", "paused": "pause",
                                           "attention": "exclamationmark", "waiting": "arrow-down" })
    readonly property var statusColors: ({ "done": green, "action": orange, "waiting": orange, "blocked": red,
                                             "tip": brand })
    readonly property var statusGlyphs: ({ "done": "checkmark", "action": "exclamationmark", "waiting": "hourglass",
                                             "blocked": "xmark", "tip": "lightbulb" })

    function icon(name) { return "qrc:/qt/qml/Zentrope/Ui/icons/" + name + ".svg" }
    function orbIcon(name) { return "qrc:/qt/qml/Zentrope/Ui/icons/orb/" + name + ".svg" }
}
