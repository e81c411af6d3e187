// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A spreadsheet with menus, a formula bar and a grid of figures.
MockScreen {
    width: 1920
    height: 1080
    subject: "Budget 2026"

    WindowBar { title: "Budget 2026.xlsx — Tabula Sheets" }

    Item {
        property string pane: "menus"
        y: 38
        width: parent.width
        height: 84
        Row {
            x: 16; y: 8; spacing: 22
            Repeater { model: ["File", "Edit", "View", "Insert", "Format", "Data", "Tools", "Help"]; Label { text: modelData; font.pixelSize: 13 } }
        }
        Row {
            x: 16; y: 38; spacing: 16
            Repeater { model: ["↶", "↷", "⎙", "B", "I", "U", "≡", "$", "%", "Σ", "▾"]; Glyph { text: modelData; font.pixelSize: 16; font.bold: index > 2 && index < 6 } }
        }
        Field { x: 400; y: 36; width: 120; height: 28; text: "C7" }
        Glyph { x: 532; y: 40; text: "ƒx"; font.italic: true }
        Field { x: 560; y: 36; width: 1340; height: 28; text: "=SUM(C3:C6)" }
    }

    Item {
        id: grid
        property string pane: "grid"
        y: 128
        width: parent.width
        height: parent.height - 128 - 36
        readonly property var widths: [50, 240, 150, 150, 150, 150, 160, 150, 150, 150, 150]
        readonly property var rows: [
            ["", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J"],
            ["1", "Household budget 2026", "", "", "", "", "", "", "", "", ""],
            ["2", "Category", "Jan", "Feb", "Mar", "Apr", "Total", "", "", "", ""],
            ["3", "Rent", "1,450", "1,450", "1,450", "1,450", "5,800", "", "", "", ""],
            ["4", "Groceries", "612", "580", "645", "598", "2,435", "", "", "", ""],
            ["5", "Transport", "120", "95", "130", "110", "455", "", "", "", ""],
            ["6", "Utilities", "210", "198", "176", "150", "734", "", "", "", ""],
            ["7", "Total", "2,392", "2,323", "2,401", "2,308", "9,424", "", "", "", ""],
            ["8", "", "", "", "", "", "", "", "", "", ""],
            ["9", "Savings goal", "500", "500", "500", "500", "2,000", "", "", "", ""],
            ["10", "", "", "", "", "", "", "", "", "", ""],
            ["11", "Notes: utilities fall in spring.", "", "", "", "", "", "", "", "", ""]
        ]
        Column {
            Repeater {
                model: grid.rows
                Row {
                    readonly property var cells: modelData
                    readonly property int row: index
                    Repeater {
                        model: grid.widths
                        Rectangle {
                            width: modelData
                            height: 30
                            color: row === 0 || index === 0 ? Theme.panel : (row === 7 && index === 3 ? Theme.selection : "transparent")
                            border.color: Theme.line
                            border.width: 1
                            Label {
                                anchors.verticalCenter: parent.verticalCenter
                                x: row === 0 || index === 0 || index === 1 ? 8 : parent.width - implicitWidth - 8
                                text: cells[index]
                                font.pixelSize: row === 1 ? 16 : 13
                                font.bold: row === 1 || row === 2 || row === 7
                                muted: row === 0 || index === 0
                            }
                        }
                    }
                }
            }
        }
    }

    Rectangle {
        property string pane: "tabs"
        y: parent.height - 36
        width: parent.width
        height: 36
        color: Theme.panel
        Row {
            x: 60; anchors.verticalCenter: parent.verticalCenter; spacing: 28
            Repeater { model: ["2026", "2025", "Charts"]; Label { text: modelData; font.bold: index === 0; font.pixelSize: 13 } }
        }
        Label { anchors.right: parent.right; anchors.rightMargin: 20; anchors.verticalCenter: parent.verticalCenter; text: "Sum: 2,401    Average: 600.25    Zoom 100%"; muted: true; font.pixelSize: 12 }
    }
}
