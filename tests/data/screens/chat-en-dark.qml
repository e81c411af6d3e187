// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A dark team chat: workspace sidebar with channels and people, the open channel's messages.
MockScreen {
    width: 1920
    height: 1080
    dark: true
    subject: "release-planning|release planning"

    WindowBar { title: "release-planning — Acme — Teamchat" }
    Rectangle {
        property string pane: "sidebar"
        y: 38
        width: 300
        height: parent.height - 38
        color: "#19171d"
        Label { x: 20; y: 16; text: "Acme Engineering"; font.pixelSize: 17; font.bold: true }
        Label { x: 20; y: 62; text: "Channels"; muted: true; font.pixelSize: 13; font.bold: true }
        Column {
            x: 10; y: 88; spacing: 2
            Repeater {
                model: [["general", ""], ["design", "4"], ["incidents", ""], ["release-planning", ""], ["random", "17"], ["support", ""]]
                Rectangle {
                    width: 280; height: 32; radius: 6
                    color: index === 3 ? "#1164a3" : "transparent"
                    Label { x: 12; anchors.verticalCenter: parent.verticalCenter; text: "# " + modelData[0]; font.pixelSize: 15; color: index === 3 || modelData[1] ? "white" : Theme.muted; font.bold: modelData[1].length > 0 }
                    Badge { visible: modelData[1].length > 0; anchors.right: parent.right; anchors.rightMargin: 10; anchors.verticalCenter: parent.verticalCenter; text: modelData[1]; tint: "#cd2553" }
                }
            }
        }
        Label { x: 20; y: 310; text: "Direct messages"; muted: true; font.pixelSize: 13; font.bold: true }
        Column {
            x: 20; y: 340; spacing: 12
            Repeater {
                model: ["Priya Nair", "Oskar Lind", "Maria Keller", "Jonas Berg"]
                Row { spacing: 10; Avatar { size: 22; initials: modelData.split(" ").map(w => w[0]).join("") } Label { text: modelData; font.pixelSize: 15; muted: true; anchors.verticalCenter: parent.verticalCenter } }
            }
        }
    }
    Item {
        property string pane: "channel"
        x: 300
        y: 38
        width: parent.width - 300
        height: parent.height - 38
        Rectangle { width: parent.width; height: 60; color: Theme.background; Rectangle { y: 59; width: parent.width; height: 1; color: Theme.line } }
        Label { x: 24; y: 16; text: "# release-planning"; font.pixelSize: 19; font.bold: true; heading: true }
        Label { x: 240; y: 21; text: "Planning for the 2.4 release, freeze on Friday"; muted: true; font.pixelSize: 14 }
        Row { anchors.right: parent.right; anchors.rightMargin: 24; y: 18; spacing: 8; Repeater { model: ["PN", "OL", "MK"]; Avatar { size: 24; initials: modelData } } Label { text: "14"; muted: true } }
        Column {
            x: 24; y: 90; spacing: 24
            Repeater {
                model: [
                    ["Priya Nair", "9:41 AM", "Morning! Freeze is still Friday 18:00. Anything that is not merged by then moves to 2.5."],
                    ["Oskar Lind", "9:44 AM", "The upload race fix is approved, merging after CI. Release notes draft is in the doc."],
                    ["Maria Keller", "9:52 AM", "Design signed off the new onboarding screens. Translations arrive on Thursday."],
                    ["Jonas Berg", "10:03 AM", "Heads up: the staging database migration takes about 20 minutes tonight."],
                    ["Priya Nair", "10:05 AM", "Thanks all. Go/no-go meeting moved to Friday 10:00, invite updated."]
                ]
                Row {
                    spacing: 12
                    Avatar { size: 38; initials: modelData[0].split(" ").map(w => w[0]).join("") }
                    Column {
                        spacing: 4
                        Row { spacing: 10; Label { text: modelData[0]; font.bold: true; font.pixelSize: 15 } Label { text: modelData[1]; muted: true; font.pixelSize: 12; anchors.baseline: parent.children[0].baseline } }
                        Label { text: modelData[2]; font.pixelSize: 15 }
                    }
                }
            }
        }
        Field { x: 24; y: parent.height - 70; width: parent.width - 48; height: 48; text: "Message #release-planning"; placeholder: true }
    }
}
