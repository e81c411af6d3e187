// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// Step 0: what Zentrope does, shown by a screenshot whose default name turns into a description, over and over.
StepLayout {
    id: step
    symbol: "sparkles"
    color: Theme.brand
    title: App.text("setup.welcome.title")
    subtitle: App.text("setup.welcome.subtitle")

    readonly property var examples: App.onboarding.welcomeExamples
    property int index: 0
    property bool renamed: false

    // 1.4 s with the default name, then 2.2 s with the new one, then the next example.
    Timer {
        interval: step.renamed ? 2200 : 1400
        repeat: true
        running: step.shown
        onTriggered: {
            if (!step.renamed) {
                step.renamed = true
            } else {
                step.renamed = false
                step.index = (step.index + 1) % step.examples.length
            }
        }
    }

    StepCard {
        Layout.topMargin: 4
        RowLayout {
            Layout.fillWidth: true
            spacing: 12
            GlyphDisc {
                size: 40
                glyph: step.renamed ? "sparkles" : "photo"
                color: step.renamed ? Theme.brand : Theme.grey
                Behavior on color { ColorAnimation { duration: 250 } }
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2
                Label {
                    id: exampleName
                    objectName: "welcomeExample"
                    Layout.fillWidth: true
                    text: (step.renamed ? step.examples[step.index].after : step.examples[step.index].before) + ".png"
                    color: Theme.text
                    font.pixelSize: 15
                    font.weight: step.renamed ? Font.DemiBold : Font.Normal
                    elide: Text.ElideMiddle
                    transformOrigin: Item.Left
                    // A small spring as the new name lands.
                    onTextChanged: if (step.renamed) bounce.restart()
                    SequentialAnimation {
                        id: bounce
                        NumberAnimation { target: exampleName; property: "scale"; from: 0.92; to: 1.04; duration: 160; easing.type: Easing.OutQuad }
                        NumberAnimation { target: exampleName; property: "scale"; to: 1; duration: 220; easing.type: Easing.OutBack }
                    }
                }
                Label {
                    text: step.renamed ? App.text("setup.welcome.after") : App.text("setup.welcome.before")
                    color: step.renamed ? Theme.brand : Theme.secondary
                    font.pixelSize: 12
                }
            }
        }
    }

    ColumnLayout {
        Layout.alignment: Qt.AlignHCenter
        Layout.topMargin: 6
        spacing: 12
        Repeater {
            model: [{ "glyph": "sparkles", "key": "setup.welcome.smart", "tint": Theme.brand },
                    { "glyph": "lock-shield", "key": "setup.welcome.private", "tint": Theme.blue },
                    { "glyph": "leaf", "key": "setup.welcome.light", "tint": Theme.green }]
            delegate: RowLayout {
                required property var modelData
                spacing: 12
                GlyphDisc {
                    glyph: modelData.glyph
                    color: modelData.tint
                }
                Label {
                    text: App.text(modelData.key)
                    color: Theme.text
                }
            }
        }
    }
}
