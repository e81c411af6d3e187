// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// The first-run guide over the tabs: six pages that slide in from the side moved towards, and the footer that moves
// between them.
Rectangle {
    id: view
    color: Theme.window

    readonly property OnboardingController onboarding: App.onboarding
    readonly property list<Component> pageComponents: [
        Component { WelcomeStep {} },
        Component { HowItWorksStep {} },
        Component { FolderStep {} },
        Component { IntelligenceStep {} },
        Component { LanguageStep {} },
        Component { FinishStep {} }
    ]

    StackView {
        id: pages
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: footer.top
        clip: true
        // Only the page on display exists: a page left behind stops its timers with it.
        // The position animates as a property, not on the render thread, so the items' own positions move with it.
        replaceEnter: Transition {
            NumberAnimation {
                property: "x"
                from: (view.onboarding.forward ? 1 : -1) * pages.width
                to: 0
                duration: 260
                easing.type: Easing.OutCubic
            }
        }
        replaceExit: Transition {
            NumberAnimation {
                property: "x"
                from: 0
                to: (view.onboarding.forward ? -1 : 1) * pages.width
                duration: 260
                easing.type: Easing.OutCubic
            }
        }
        Component.onCompleted: push(view.pageComponents[view.onboarding.step], {}, StackView.Immediate)
    }

    Connections {
        target: view.onboarding
        function onStepChanged() {
            pages.replace(view.pageComponents[view.onboarding.step], {},
                          view.onboarding.moving ? StackView.Transition : StackView.Immediate)
        }
    }

    Rectangle {
        id: footer
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 64
        color: Theme.window
        Rectangle {
            width: parent.width
            height: 1
            color: Theme.border
        }

        Button {
            objectName: "backButton"
            anchors.left: parent.left
            anchors.leftMargin: 24
            anchors.verticalCenter: parent.verticalCenter
            visible: view.onboarding.step > 0
            text: App.text("setup.back")
            onClicked: view.onboarding.go(-1)
        }

        Row {
            anchors.centerIn: parent
            spacing: 7
            Repeater {
                model: view.onboarding.stepCount
                delegate: Rectangle {
                    required property int index
                    anchors.verticalCenter: parent.verticalCenter
                    width: index === view.onboarding.step ? 20 : 7
                    height: 7
                    radius: 3.5
                    color: index === view.onboarding.step ? Theme.brand : Theme.border
                    Behavior on width { NumberAnimation { duration: 200 } }
                }
            }
        }

        Button {
            objectName: "nextButton"
            anchors.right: parent.right
            anchors.rightMargin: 24
            anchors.verticalCenter: parent.verticalCenter
            highlighted: true
            enabled: view.onboarding.canAdvance
            // The highlighted look alone does not show that it is disabled.
            opacity: enabled ? 1 : 0.45
            text: view.onboarding.mainButtonTitle
            onClicked: view.onboarding.go(1)
        }
    }
}
