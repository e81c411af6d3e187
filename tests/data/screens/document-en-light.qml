// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A word processor on a high-density display: menus, toolbar, ruler and a page with a guide.
MockScreen {
    width: 1280
    height: 800
    pixelScale: 2
    color: Theme.panel
    subject: "Onboarding Guide"

    WindowBar { title: "Onboarding guide.odt — Writer"; height: 30 }
    Rectangle {
        property string pane: "toolbar"
        y: 30
        width: parent.width
        height: 64
        color: Theme.background
        Row {
            x: 10; y: 6; spacing: 16
            Repeater { model: ["File", "Edit", "View", "Insert", "Format", "Styles", "Table", "Tools", "Help"]; Label { text: modelData; font.pixelSize: 12 } }
        }
        Row {
            x: 10; y: 32; spacing: 10
            Field { width: 130; height: 24; text: "Heading 1" }
            Field { width: 120; height: 24; text: "Noto Sans" }
            Field { width: 44; height: 24; text: "24" }
            Repeater { model: ["B", "I", "U", "S", "≡", "☰", "⇥", "🖉"]; Glyph { text: modelData; font.pixelSize: 14; font.bold: index === 0; anchors.verticalCenter: parent.verticalCenter } }
        }
    }
    Rectangle {
        property string pane: "page"
        x: 290
        y: 110
        width: 700
        height: 700
        color: "white"
        border.color: "#d0d0d0"
        Label { x: 70; y: 60; text: "Onboarding Guide for New Engineers"; color: "#1f2328"; font.pixelSize: 24; font.bold: true; heading: true }
        Label { x: 70; y: 100; text: "Platform team  ·  Updated 9 March 2026"; color: "#646b75"; font.pixelSize: 12 }
        Label { x: 70; y: 140; text: "Your first week"; color: "#1f2328"; font.pixelSize: 17; font.bold: true }
        Column {
            x: 70; y: 172; spacing: 6
            Repeater {
                model: [
                    "Welcome to the team! This guide collects what you need in your first weeks:",
                    "accounts, tools, the people to ask and how we ship changes to production.",
                    "",
                    "1. Pick up your laptop and security key from the front desk.",
                    "2. Set up single sign-on and enable two-factor authentication.",
                    "3. Clone the main repository and run the setup script.",
                    "4. Join the #platform and #incidents channels.",
                    "5. Book a coffee with your onboarding buddy."
                ]
                Label { text: modelData; color: "#1f2328"; font.pixelSize: 13; height: modelData.length ? implicitHeight : 6 }
            }
        }
        Label { x: 70; y: 372; text: "How we ship"; color: "#1f2328"; font.pixelSize: 17; font.bold: true }
        Column {
            x: 70; y: 404; spacing: 6
            Repeater {
                model: [
                    "Every change goes through a pull request with one approving review.",
                    "The main branch deploys to staging automatically; production deploys",
                    "run every weekday at 10:00 and 15:00 after the smoke tests pass."
                ]
                Label { text: modelData; color: "#1f2328"; font.pixelSize: 13 }
            }
        }
    }
    Rectangle {
        property string pane: "status"
        y: parent.height - 24
        width: parent.width
        height: 24
        color: Theme.background
        Label { x: 12; anchors.verticalCenter: parent.verticalCenter; text: "Page 1 of 4    1,284 words, 7,902 characters"; muted: true; font.pixelSize: 11 }
        Label { anchors.right: parent.right; anchors.rightMargin: 12; anchors.verticalCenter: parent.verticalCenter; text: "English (USA)    100%"; muted: true; font.pixelSize: 11 }
    }
}
