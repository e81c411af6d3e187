// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// Step 1: the pipeline demonstration, and the reassurance that nothing needs doing.
StepLayout {
    id: step
    symbol: "wand-and-sparkles"
    color: Theme.blue
    title: App.text("demo.title")
    subtitle: App.text("demo.subtitle")

    PipelineDemo {
        objectName: "pipelineDemo"
        Layout.fillWidth: true
        running: step.shown
    }

    StepCard {
        Layout.topMargin: 6
        RowLayout {
            Layout.fillWidth: true
            spacing: 12
            GlyphDisc {
                Layout.alignment: Qt.AlignTop
                glyph: "cup"
                color: Theme.orange
                size: 30
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2
                Label {
                    Layout.fillWidth: true
                    text: App.text("demo.relax.title")
                    color: Theme.text
                    font.weight: Font.DemiBold
                    wrapMode: Text.Wrap
                }
                Label {
                    Layout.fillWidth: true
                    text: App.text("demo.relax.text")
                    color: Theme.secondary
                    wrapMode: Text.Wrap
                }
            }
        }
    }
}
