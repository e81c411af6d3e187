// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A code-review page in a browser: site header, pull-request title, tabs, timeline and a sidebar.
MockScreen {
    width: 1920
    height: 1080
    subject: "race condition in upload queue"

    Rectangle {
        property string pane: "browser"
        width: parent.width
        height: 84
        color: Theme.chrome
        Row {
            x: 12; y: 8; spacing: 8
            Rectangle {
                width: 260; height: 30; radius: 8; color: Theme.background
                Label { x: 14; anchors.verticalCenter: parent.verticalCenter; text: "Fix race condition in uplo…"; font.pixelSize: 12 }
                Glyph { x: 236; anchors.verticalCenter: parent.verticalCenter; text: "✕"; font.pixelSize: 11 }
            }
            Rectangle {
                width: 220; height: 30; radius: 8; color: "transparent"
                Label { x: 14; anchors.verticalCenter: parent.verticalCenter; text: "Inbox (3) — Mail"; muted: true; font.pixelSize: 12 }
            }
        }
        Glyph { x: parent.width - 110; y: 12; text: "—    □    ✕"; font.pixelSize: 13 }
        Row {
            x: 12; y: 46; spacing: 14
            Glyph { text: "←"; font.pixelSize: 18 }
            Glyph { text: "→"; font.pixelSize: 18 }
            Glyph { text: "↻"; font.pixelSize: 18 }
        }
        Field { x: 120; y: 44; width: 1200; height: 32; text: "forge.example.org/acme/uploader/pull/4821" }
    }

    Rectangle {
        property string pane: "site"
        y: 84
        width: parent.width
        height: 64
        color: "#1f2328"
        Glyph { x: 28; y: 16; text: "☰"; color: "#c9d1d9"; font.pixelSize: 22 }
        Label { x: 70; y: 20; text: "acme / uploader"; color: "white"; font.pixelSize: 16; font.bold: true }
        Rectangle {
            x: 1200; y: 14; width: 380; height: 36; radius: 6; color: "#1f2328"; border.color: "#57606a"
            Glyph { x: 12; anchors.verticalCenter: parent.verticalCenter; text: "⌕"; color: "#8c959f" }
            Label { x: 36; anchors.verticalCenter: parent.verticalCenter; text: "Search or jump to..."; color: "#8c959f"; font.pixelSize: 14 }
        }
        Avatar { x: parent.width - 60; y: 14; size: 36; initials: "MK" }
    }

    Item {
        property string pane: "main"
        x: 160
        y: 148
        width: 1180
        height: 900
        Label { y: 28; text: "Fix race condition in upload queue #4821"; font.pixelSize: 32; heading: true }
        Row {
            y: 88; spacing: 10
            Badge { text: "Open"; tint: "#1f883d"; height: 30; radius: 15 }
            Avatar { size: 24; initials: "NC"; anchors.verticalCenter: parent.verticalCenter }
            Label { text: "nocna wants to merge 3 commits into main from fix/upload-race"; muted: true; font.pixelSize: 15; anchors.verticalCenter: parent.verticalCenter }
        }
        Rectangle { y: 140; width: parent.width; height: 1; color: Theme.line }
        Row {
            y: 152; spacing: 36
            Repeater {
                model: ["Conversation 4", "Commits 3", "Checks 2", "Files changed 5"]
                Label { text: modelData; font.pixelSize: 14; font.bold: index === 0 }
            }
        }
        Rectangle { y: 186; width: parent.width; height: 1; color: Theme.line }
        Avatar { y: 214; size: 40; initials: "NC" }
        Rectangle {
            x: 56; y: 210; width: 1120; height: 240; radius: 6; color: "transparent"; border.color: Theme.line
            Rectangle {
                width: parent.width; height: 40; color: Theme.panel; border.color: Theme.line
                Label { x: 16; anchors.verticalCenter: parent.verticalCenter; text: "nocna commented 2 days ago"; muted: true }
                Glyph { anchors.right: parent.right; anchors.rightMargin: 16; anchors.verticalCenter: parent.verticalCenter; text: "⋯" }
            }
            Column {
                x: 16; y: 56; spacing: 10
                Label { text: "Two workers could pick the same upload when the queue was refilled during a retry."; font.pixelSize: 15 }
                Label { text: "The queue now claims an item under the lock and releases it only after the upload ends."; font.pixelSize: 15 }
                Label { text: "Closes #4790. Tested with 500 parallel uploads on the staging cluster."; font.pixelSize: 15 }
            }
        }
        Column {
            x: 56; y: 480; spacing: 18
            Repeater {
                model: [
                    ["nocna", "added 3 commits 2 days ago"],
                    ["priya-n", "requested changes yesterday"],
                    ["nocna", "pushed 1 commit 5 hours ago"],
                    ["olind", "approved these changes 2 hours ago"]
                ]
                Row {
                    spacing: 10
                    Glyph { text: "●"; font.pixelSize: 12; anchors.verticalCenter: parent.verticalCenter }
                    Avatar { size: 22; initials: modelData[0].slice(0, 2).toUpperCase() }
                    Label { text: modelData[0]; font.bold: true; anchors.verticalCenter: parent.verticalCenter }
                    Label { text: modelData[1]; muted: true; anchors.verticalCenter: parent.verticalCenter }
                }
            }
        }
        Button { x: 56; y: 700; text: "Merge pull request"; primary: true }
    }

    Column {
        property string pane: "sidebar"
        x: 1420
        y: 240
        spacing: 10
        Repeater {
            model: ["Reviewers", "priya-n", "olind", "", "Assignees", "nocna", "", "Labels", "bug", "uploads", "", "Milestone", "Release 2.4"]
            Label {
                readonly property bool section: ["Reviewers", "Assignees", "Labels", "Milestone"].includes(modelData)
                text: modelData
                font.pixelSize: 13
                font.bold: section
                muted: !section
            }
        }
    }
}
