// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A save-changes dialog over a dimmed text editor.
MockScreen {
    width: 1920
    height: 1080
    subject: "save the changes|Trip plan"

    WindowBar { title: "Trip plan.txt — Text Editor" }
    Column {
        property string pane: "editor"
        x: 40
        y: 70
        spacing: 8
        Repeater {
            model: [
                "Trip plan — Lisbon, 4–9 June",
                "",
                "Day 1: arrive 14:20, check in at Casa do Rio, dinner in Alfama",
                "Day 2: tram 28, Castelo de São Jorge, sunset at Miradouro da Graça",
                "Day 3: Sintra by train from Rossio (40 min), Pena Palace tickets booked",
                "Day 4: Belém — tower, monastery, pastéis",
                "Day 5: beach day in Cascais",
                "Day 6: fly back 11:05",
                "",
                "Packing: adapter, sunscreen, walking shoes, passport"
            ]
            Label { text: modelData; font.family: Theme.mono; font.pixelSize: 16; height: modelData.length ? implicitHeight : 10 }
        }
    }
    Rectangle { anchors.fill: parent; color: "#66000000" }
    Rectangle {
        property string pane: "dialog"
        anchors.centerIn: parent
        width: 560
        height: 250
        radius: 14
        color: Theme.background
        Glyph { x: 32; y: 34; text: "⚠"; color: "#d4a72c"; font.pixelSize: 40 }
        Label { x: 96; y: 34; width: 430; wrapMode: Text.NoWrap; text: "Save the changes to “Trip plan.txt”"; font.pixelSize: 19; font.bold: true; heading: true }
        Label { x: 96; y: 66; text: "before closing?"; font.pixelSize: 19; font.bold: true }
        Label { x: 96; y: 108; text: "If you don’t save, changes from the last"; muted: true; font.pixelSize: 14 }
        Label { x: 96; y: 130; text: "12 minutes will be lost."; muted: true; font.pixelSize: 14 }
        Row {
            anchors.right: parent.right; anchors.rightMargin: 24; y: 186; spacing: 10
            Button { text: "Don’t Save" }
            Button { text: "Cancel" }
            Button { text: "Save"; primary: true }
        }
    }
}
