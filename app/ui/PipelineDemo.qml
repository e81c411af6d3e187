// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// The pipeline shown rather than told: a screenshot is captured and scanned, four stages light up and its name is
// retyped. The script decides what shows when; this view only draws it, and animates only on its changes.
ColumnLayout {
    id: demo
    property alias running: script.running
    readonly property alias script: script
    spacing: 10

    PipelineDemoScript {
        id: script
    }

    // The miniature screenshot with the capture flash, the scanning beam and the orb.
    Item {
        Layout.alignment: Qt.AlignHCenter
        implicitWidth: 232
        implicitHeight: 140

        Rectangle {
            id: screen
            objectName: "demoScreen"
            anchors.centerIn: parent
            width: 210
            height: 128
            radius: 10
            color: Theme.card
            border.color: Theme.border
            clip: true
            scale: 1

            Rectangle {
                width: parent.width
                height: 18
                color: Theme.control
                Row {
                    x: 8
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 4
                    Repeater {
                        model: [Theme.red, Theme.orange, Theme.green]
                        delegate: Rectangle {
                            required property color modelData
                            width: 6
                            height: 6
                            radius: 3
                            color: modelData
                        }
                    }
                }
            }
            Column {
                x: 14
                y: 30
                spacing: 9
                Repeater {
                    model: [0.75, 0.55, 0.85, 0.4, 0.65]
                    delegate: Rectangle {
                        required property real modelData
                        required property int index
                        width: (screen.width - 28) * modelData
                        height: 7
                        radius: 3.5
                        color: index === 0 ? Theme.brand : Theme.border
                        opacity: index === 0 ? 0.55 : 1
                    }
                }
            }

            Rectangle {
                id: beam
                objectName: "demoBeam"
                width: parent.width
                height: 22
                opacity: script.scanning && !script.beamDown ? 1 : 0
                gradient: Gradient {
                    GradientStop { position: 0; color: "transparent" }
                    GradientStop { position: 0.8; color: Qt.rgba(0.45, 0.34, 0.96, 0.35) }
                    GradientStop { position: 1; color: Theme.brand }
                }
                Behavior on opacity { NumberAnimation { duration: 300 } }
                // From the start of the scan down to the bottom, which it reaches as the stages begin.
                NumberAnimation on y {
                    id: sweep
                    running: false
                    from: 0
                    to: screen.height - beam.height
                    duration: 1800
                    easing.type: Easing.InOutSine
                }
            }

            Rectangle {
                id: flashOverlay
                anchors.fill: parent
                radius: parent.radius
                color: "#ffffff"
                opacity: 0
                NumberAnimation on opacity {
                    id: flashIn
                    running: false
                    to: 0.95
                    duration: 80
                    easing.type: Easing.OutQuad
                }
                NumberAnimation on opacity {
                    id: flashOut
                    running: false
                    to: 0
                    duration: 450
                    easing.type: Easing.OutQuad
                }
            }

            // Three slow breaths while the model looks at it.
            SequentialAnimation {
                id: pulse
                NumberAnimation { target: screen; property: "scale"; to: 1.035; duration: 1100; easing.type: Easing.InOutQuad }
                NumberAnimation { target: screen; property: "scale"; to: 1; duration: 1100; easing.type: Easing.InOutQuad }
                NumberAnimation { target: screen; property: "scale"; to: 1.035; duration: 1100; easing.type: Easing.InOutQuad }
                NumberAnimation { target: screen; property: "scale"; to: 1; duration: 400; easing.type: Easing.OutBack }
            }
        }

        // Each animation starts on the change that calls for it and ends by itself; a reset puts everything back.
        Connections {
            target: script
            property bool flashed: false
            property bool scanned: false
            property bool pulsed: false
            function onChanged() {
                if (script.flash && !flashed)
                    flashIn.start()
                else if (!script.flash && flashed)
                    flashOut.start()
                if (script.scanning && !scanned)
                    sweep.start()
                if (script.pulsing && !pulsed)
                    pulse.start()
                if (!script.scanning && !script.pulsing && !script.flash) {
                    for (const animation of [flashIn, flashOut, sweep, pulse])
                        animation.stop()
                    flashOverlay.opacity = 0
                    beam.y = 0
                    screen.scale = 1
                }
                flashed = script.flash
                scanned = script.scanning
                pulsed = script.pulsing
            }
        }

        ThinkingOrb {
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            size: 46
            active: script.thinking
            done: script.done
            opacity: script.thinking || script.done ? 1 : 0
            scale: script.thinking || script.done ? 1 : 0.6
            Behavior on opacity { NumberAnimation { duration: 250 } }
            Behavior on scale { NumberAnimation { duration: 350; easing.type: Easing.OutBack } }
        }
    }

    Label {
        Layout.alignment: Qt.AlignHCenter
        text: App.text("demo.caption")
        color: Theme.secondary
        font.pixelSize: 12
    }

    // The file's name: the default one, then the new one as it is typed.
    Rectangle {
        Layout.alignment: Qt.AlignHCenter
        Layout.maximumWidth: demo.width
        implicitWidth: pill.implicitWidth + 28
        implicitHeight: 34
        radius: 17
        color: Theme.card
        border.color: script.typed > 0 ? Theme.brand : Theme.border
        border.width: script.typed > 0 ? 2 : 1
        RowLayout {
            id: pill
            anchors.centerIn: parent
            width: Math.min(implicitWidth, parent.width - 28)
            spacing: 8
            Image {
                Layout.preferredWidth: 16
                Layout.preferredHeight: 16
                sourceSize: Qt.size(32, 32)
                source: Theme.icon("photo")
                opacity: 0.6
            }
            Label {
                objectName: "demoFileName"
                Layout.fillWidth: true
                text: script.fileName
                color: Theme.text
                font.weight: script.typed > 0 ? Font.DemiBold : Font.Normal
                elide: Text.ElideMiddle
            }
        }
    }

    // The four stages, lit one by one.
    RowLayout {
        Layout.alignment: Qt.AlignHCenter
        Layout.topMargin: 4
        spacing: 4
        Repeater {
            model: [{ "glyph": "camera-viewfinder", "key": "demo.stage1" }, { "glyph": "eye", "key": "demo.stage2" },
                    { "glyph": "cpu", "key": "demo.stage3" }, { "glyph": "checkmark", "key": "demo.stage4" }]
            delegate: RowLayout {
                id: stageRow
                required property var modelData
                required property int index
                readonly property bool lit: index < script.lit
                spacing: 4
                Image {
                    visible: stageRow.index > 0
                    Layout.preferredWidth: 12
                    Layout.preferredHeight: 12
                    sourceSize: Qt.size(24, 24)
                    source: Theme.icon("chevron-right")
                    opacity: 0.4
                }
                ColumnLayout {
                    Layout.preferredWidth: 96
                    spacing: 4
                    GlyphDisc {
                        Layout.alignment: Qt.AlignHCenter
                        size: 30
                        glyph: stageRow.lit ? "checkmark" : stageRow.modelData.glyph
                        color: stageRow.lit ? Theme.green : Theme.grey
                        opacity: stageRow.lit ? 1 : 0.45
                        scale: stageRow.lit ? 1 : 0.9
                        Behavior on color { ColorAnimation { duration: 250 } }
                        Behavior on opacity { NumberAnimation { duration: 250 } }
                        Behavior on scale { NumberAnimation { duration: 500; easing.type: Easing.OutBack } }
                    }
                    Label {
                        Layout.fillWidth: true
                        horizontalAlignment: Text.AlignHCenter
                        text: App.text(stageRow.modelData.key)
                        color: stageRow.lit ? Theme.text : Theme.secondary
                        font.pixelSize: 12
                        wrapMode: Text.Wrap
                    }
                }
            }
        }
    }
}
