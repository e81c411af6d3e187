// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// The settings tab: folders, naming with its preview, behaviour, the local model, appearance and the history.
// Every control writes through at once; there is nothing to save.
ScrollView {
    id: view
    objectName: "settingsView"
    contentWidth: availableWidth
    clip: true

    readonly property SettingsController tab: App.settingsTab

    // The models on offer may have changed while the tab was hidden.
    onVisibleChanged: if (visible) tab.refreshModels()

    component Caption: Label {
        Layout.topMargin: 14
        color: Theme.secondary
        font.pixelSize: 12
        font.weight: Font.DemiBold
        font.capitalization: Font.AllUppercase
    }

    component Card: Rectangle {
        default property alias content: column.data
        Layout.fillWidth: true
        implicitHeight: column.implicitHeight + 2 * column.anchors.margins
        radius: Theme.radius
        color: Theme.card
        border.color: Theme.border
        ColumnLayout {
            id: column
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 14
            spacing: 12
        }
    }

    component Divider: Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Theme.border
    }

    // A title with an optional explanation under it, beside the control it labels.
    component LabelledRow: RowLayout {
        property alias title: titleLabel.text
        property alias subtitle: subtitleLabel.text
        Layout.fillWidth: true
        spacing: 12
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            Label {
                id: titleLabel
                Layout.fillWidth: true
                color: Theme.text
                wrapMode: Text.Wrap
            }
            Label {
                id: subtitleLabel
                Layout.fillWidth: true
                visible: text.length > 0
                color: Theme.secondary
                font.pixelSize: 12
                wrapMode: Text.Wrap
            }
        }
    }

    component Note: Label {
        Layout.fillWidth: true
        visible: text.length > 0
        color: Theme.secondary
        font.pixelSize: 12
        wrapMode: Text.Wrap
    }

    // A drop-down whose entries are named after it ("<name>Item<index>"); an entry may be a text, or a map with
    // "text" and "divider" when a line follows it.
    component Choice: ComboBox {
        id: choice
        Layout.preferredWidth: 220
        delegate: ItemDelegate {
            required property int index
            required property var modelData
            objectName: choice.objectName + "Item" + index
            width: choice.width
            text: typeof modelData === "object" ? modelData.text : modelData
            font.weight: choice.currentIndex === index ? Font.DemiBold : Font.Normal
            highlighted: choice.highlightedIndex === index
            hoverEnabled: choice.hoverEnabled
            Rectangle {
                visible: typeof modelData === "object" && modelData.divider === true
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                color: Theme.border
            }
        }
    }

    // A row of buttons of which one is chosen.
    component Segmented: Row {
        id: segmented
        property var labels: []
        property int current: -1
        property string namePrefix
        signal chosen(int index)
        spacing: 0
        Repeater {
            model: segmented.labels
            delegate: Button {
                required property int index
                required property string modelData
                objectName: segmented.namePrefix + index
                text: modelData
                checkable: true
                checked: index === segmented.current
                palette.button: checked ? Theme.brand : Theme.control
                palette.buttonText: checked ? "#ffffff" : Theme.text
                onClicked: {
                    segmented.chosen(index)
                    checked = Qt.binding(() => index === segmented.current)
                }
            }
        }
    }

    ColumnLayout {
        width: view.availableWidth - 48
        x: 24
        spacing: 10

        // ---- Folders ----
        Caption {
            objectName: "foldersCaption"
            Layout.topMargin: 22
            text: App.text("settings.folders")
        }
        Card {
            objectName: "foldersCard"
            Repeater {
                model: App.folders
                delegate: FolderRow {
                    Layout.fillWidth: true
                }
            }
            Button {
                objectName: "addFolderButton"
                text: App.text("folders.add")
                icon.source: Theme.icon("plus")
                icon.color: Theme.text
                onClicked: App.chooseFolder()
            }
            Divider {}
            LabelledRow {
                title: App.text("folders.scope")
                Choice {
                    objectName: "scopeBox"
                    model: view.tab.scopeLabels
                    currentIndex: view.tab.scopeIndex
                    onActivated: index => view.tab.scopeIndex = index
                }
            }
            Note { text: view.tab.scopeExplanation }
        }

        // ---- Naming ----
        Caption {
            objectName: "namingCaption"
            text: App.text("settings.naming")
        }
        Card {
            objectName: "namingCard"
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 4
                Label {
                    text: App.text("naming.preview")
                    color: Theme.secondary
                    font.pixelSize: 12
                }
                Rectangle {
                    Layout.fillWidth: true
                    implicitHeight: previewRow.implicitHeight + 16
                    radius: 7
                    color: Theme.field
                    border.color: Theme.border
                    RowLayout {
                        id: previewRow
                        anchors.fill: parent
                        anchors.margins: 8
                        spacing: 8
                        Image {
                            Layout.preferredWidth: 16
                            Layout.preferredHeight: 16
                            sourceSize: Qt.size(32, 32)
                            source: Theme.icon("sparkles")
                        }
                        Label {
                            objectName: "namingPreview"
                            Layout.fillWidth: true
                            text: view.tab.preview
                            color: Theme.text
                            font.family: "monospace"
                            elide: Text.ElideMiddle
                        }
                    }
                }
            }
            LabelledRow {
                title: App.text("naming.lang")
                Choice {
                    objectName: "nameLanguageBox"
                    model: [App.text("naming.lang.auto"), "Русский", "English"]
                    currentIndex: App.nameLanguageIndex
                    onActivated: index => App.nameLanguageIndex = index
                }
            }
            Repeater {
                model: view.tab.translationRow
                delegate: CheckpointRowView { Layout.fillWidth: true }
            }
            LabelledRow {
                title: App.text("naming.separator")
                Segmented {
                    namePrefix: "separator"
                    labels: [App.text("sep.space"), App.text("sep.dash"), App.text("sep.underscore")]
                    current: view.tab.separatorIndex
                    onChosen: index => view.tab.separatorIndex = index
                }
            }
            LabelledRow {
                title: App.text("naming.case")
                Segmented {
                    namePrefix: "case"
                    labels: [App.text("case.sentence"), App.text("case.lower"), App.text("case.title")]
                    current: view.tab.caseIndex
                    onChosen: index => view.tab.caseIndex = index
                }
            }
            LabelledRow {
                title: App.text("naming.date")
                Choice {
                    objectName: "dateBox"
                    model: view.tab.dateChoices
                    textRole: "text"
                    currentIndex: view.tab.dateIndex
                    onActivated: index => view.tab.dateIndex = index
                }
            }
            LabelledRow {
                title: App.text("naming.maxLength")
                Slider {
                    objectName: "maxLengthSlider"
                    Layout.preferredWidth: 180
                    from: view.tab.sliderMinimum
                    to: view.tab.sliderMaximum
                    stepSize: 1
                    value: view.tab.maxLength
                    onMoved: view.tab.setMaxLengthFromSlider(value)
                }
                Label {
                    objectName: "maxLengthValue"
                    Layout.preferredWidth: 30
                    horizontalAlignment: Text.AlignRight
                    text: view.tab.maxLength
                    color: Theme.text
                }
            }
        }

        // ---- Behaviour ----
        Caption {
            objectName: "behaviourCaption"
            text: App.text("settings.behavior")
        }
        Card {
            objectName: "behaviourCard"
            LabelledRow {
                title: App.text("general.auto")
                Switch {
                    objectName: "settingsAutoSwitch"
                    checked: App.autoProcessing
                    onToggled: {
                        App.setAutoProcessing(checked)
                        checked = Qt.binding(() => App.autoProcessing)
                    }
                }
            }
            LabelledRow {
                title: App.text("general.login")
                subtitle: App.text("general.login.sub")
                Switch {
                    objectName: "loginSwitch"
                    checked: App.loginEnabled
                    // Shows the autostart entry as it is, also when writing it failed.
                    onToggled: {
                        App.setLoginEnabled(checked)
                        checked = Qt.binding(() => App.loginEnabled)
                    }
                }
            }
            Label {
                Layout.fillWidth: true
                visible: App.loginError.length > 0
                text: App.loginError
                color: Theme.red
                wrapMode: Text.Wrap
            }
            LabelledRow {
                title: App.text("general.notify")
                Choice {
                    objectName: "notificationBox"
                    model: [App.text("notifications.all"), App.text("notifications.errors"),
                            App.text("notifications.off")]
                    currentIndex: view.tab.notificationIndex
                    onActivated: index => view.tab.notificationIndex = index
                }
            }
            Button {
                objectName: "notificationWarning"
                Layout.fillWidth: true
                visible: view.tab.showsNotificationWarning
                flat: true
                onClicked: App.openNotificationSettings()
                contentItem: Label {
                    text: App.text("setup.finish.notify.denied")
                    color: Theme.orange
                    wrapMode: Text.Wrap
                }
            }
        }

        // ---- Intelligence ----
        Caption {
            objectName: "aiCaption"
            text: App.text("settings.ai")
        }
        Card {
            objectName: "aiCard"
            RowLayout {
                Layout.fillWidth: true
                spacing: 10
                Rectangle {
                    Layout.preferredWidth: 20
                    Layout.preferredHeight: 20
                    radius: 10
                    color: Theme.statusColors[view.tab.aiStatus] ?? Theme.grey
                    Image {
                        anchors.centerIn: parent
                        width: 12
                        height: 12
                        sourceSize: Qt.size(24, 24)
                        source: Theme.orbIcon(Theme.statusGlyphs[view.tab.aiStatus] ?? "minus")
                    }
                }
                Label {
                    objectName: "aiStatusTitle"
                    Layout.fillWidth: true
                    text: view.tab.aiTitle
                    color: Theme.text
                    font.weight: Font.Medium
                    wrapMode: Text.Wrap
                }
                Button {
                    objectName: "checkSetupButton"
                    text: App.text("settings.ai.setup")
                    onClicked: App.openGuide()
                }
            }
            LabelledRow {
                title: view.tab.modeTitle
                subtitle: view.tab.modeSubtitle
            }
            RowLayout {
                Layout.fillWidth: true
                visible: view.tab.visionHint.length > 0
                spacing: 10
                Image {
                    Layout.preferredWidth: 16
                    Layout.preferredHeight: 16
                    sourceSize: Qt.size(32, 32)
                    source: Theme.icon("lightbulb")
                    opacity: 0.7
                }
                Note {
                    text: view.tab.visionHint
                }
                Button {
                    flat: true
                    text: App.text("check.vision.update")
                    onClicked: App.runCheckpointAction("openVisionModels")
                }
            }
            Divider {}
            LabelledRow {
                title: App.text("ai.ocr")
                subtitle: App.text("ai.ocr.sub")
                Switch {
                    objectName: "ocrFallbackSwitch"
                    checked: App.ocrFallback
                    onToggled: {
                        App.ocrFallback = checked
                        checked = Qt.binding(() => App.ocrFallback)
                    }
                }
            }
            Divider {}
            LabelledRow {
                title: App.text("model.server")
                CheckBox {
                    objectName: "automaticServerBox"
                    text: App.text("model.server.auto")
                    checked: view.tab.automaticServer
                    onToggled: {
                        view.tab.setAutomaticServer(checked)
                        checked = Qt.binding(() => view.tab.automaticServer)
                    }
                }
            }
            Note {
                visible: view.tab.automaticServer
                text: view.tab.foundServer
            }
            TextField {
                objectName: "serverAddressField"
                Layout.fillWidth: true
                visible: !view.tab.automaticServer
                text: view.tab.serverAddress
                placeholderText: App.text("model.server.address")
                onEditingFinished: view.tab.setServerAddress(text)
            }
            Label {
                Layout.fillWidth: true
                visible: view.tab.serverError.length > 0 && !view.tab.automaticServer
                text: view.tab.serverError
                color: Theme.red
                font.pixelSize: 12
                wrapMode: Text.Wrap
            }
            LabelledRow {
                title: App.text("model.name")
                Choice {
                    objectName: "modelBox"
                    Layout.preferredWidth: 260
                    model: view.tab.modelLabels
                    currentIndex: view.tab.modelIndex
                    onActivated: index => view.tab.modelIndex = index
                    popup.onAboutToShow: view.tab.refreshModels()
                }
            }
            LabelledRow {
                title: App.text("model.timeLimit")
                subtitle: App.text("model.timeLimit.sub")
                SpinBox {
                    objectName: "timeLimitBox"
                    Layout.preferredWidth: 140
                    from: view.tab.timeLimitMinimum
                    to: view.tab.timeLimitMaximum
                    stepSize: 5
                    editable: true
                    value: view.tab.timeLimit
                    // The shown text is remade when the value or the locale changes: following the interface
                    // language's locale remakes it in the new language.
                    locale: Qt.locale(App.language)
                    textFromValue: (value, locale) => App.text("model.timeLimit.value").arg(value)
                    valueFromText: (text, locale) => parseInt(text) || view.tab.timeLimit
                    onValueModified: view.tab.timeLimit = value
                }
            }
            Divider {}
            LabelledRow {
                title: App.text("ai.test")
                subtitle: App.text("ai.test.sub")
                BusyIndicator {
                    Layout.preferredWidth: 24
                    Layout.preferredHeight: 24
                    visible: view.tab.testing
                    running: visible
                }
                Button {
                    objectName: "aiTestButton"
                    text: App.text("ai.test.button")
                    enabled: !view.tab.testing
                    onClicked: view.tab.runTest()
                }
            }
            RowLayout {
                Layout.fillWidth: true
                visible: view.tab.testName.length > 0
                spacing: 8
                Image {
                    Layout.alignment: Qt.AlignTop
                    Layout.preferredWidth: 16
                    Layout.preferredHeight: 16
                    sourceSize: Qt.size(32, 32)
                    source: Theme.icon("sparkles")
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 2
                    Label {
                        objectName: "aiTestName"
                        Layout.fillWidth: true
                        text: view.tab.testName
                        color: Theme.text
                        font.weight: Font.Medium
                        wrapMode: Text.WrapAnywhere
                    }
                    Note {
                        objectName: "aiTestDetail"
                        text: view.tab.testDetail
                    }
                }
            }
            RowLayout {
                Layout.fillWidth: true
                visible: view.tab.testError.length > 0
                spacing: 8
                Image {
                    Layout.alignment: Qt.AlignTop
                    Layout.preferredWidth: 16
                    Layout.preferredHeight: 16
                    sourceSize: Qt.size(32, 32)
                    source: Theme.icon("xmark-octagon")
                }
                Label {
                    objectName: "aiTestError"
                    Layout.fillWidth: true
                    text: view.tab.testError
                    color: Theme.red
                    wrapMode: Text.Wrap
                }
            }
        }

        // ---- Appearance ----
        Caption {
            objectName: "appearanceCaption"
            text: App.text("settings.appearance")
        }
        Card {
            objectName: "appearanceCard"
            LabelledRow {
                title: App.text("general.theme")
                Choice {
                    objectName: "themeBox"
                    model: [App.text("appearance.system"), App.text("appearance.light"), App.text("appearance.dark")]
                    currentIndex: App.appearanceIndex
                    onActivated: index => App.appearanceIndex = index
                }
            }
            LabelledRow {
                title: App.text("general.interfaceLanguage")
                Choice {
                    objectName: "interfaceLanguageBox"
                    model: [App.text("language.system"), "English", "Русский"]
                    currentIndex: view.tab.interfaceLanguageIndex
                    onActivated: index => view.tab.interfaceLanguageIndex = index
                }
            }
        }

        // ---- Footer ----
        Button {
            objectName: "clearHistoryButton"
            Layout.topMargin: 14
            flat: true
            text: App.text("history.clear")
            palette.windowText: Theme.red
            onClicked: confirmClear.open()
        }
        ColumnLayout {
            objectName: "footerInfo"
            Layout.fillWidth: true
            Layout.bottomMargin: 22
            spacing: 4
            Label {
                objectName: "versionLine"
                text: view.tab.versionLine
                color: Theme.secondary
                font.pixelSize: 12
            }
            Note { text: App.text("about.privacy") }
            // The project's site, highlighted while the pointer is over it.
            AbstractButton {
                id: siteLink
                objectName: "siteLink"
                visible: view.tab.siteAddress.length > 0
                onClicked: view.tab.openSite()
                contentItem: Row {
                    spacing: 5
                    Image {
                        anchors.verticalCenter: parent.verticalCenter
                        width: 14
                        height: 14
                        sourceSize: Qt.size(28, 28)
                        source: Theme.icon("globe")
                        opacity: siteLink.hovered ? 1 : 0.6
                    }
                    Label {
                        text: App.text("about.site")
                        color: siteLink.hovered ? Theme.brand : Theme.secondary
                        font.pixelSize: 12
                        font.underline: siteLink.hovered
                    }
                    Image {
                        anchors.verticalCenter: parent.verticalCenter
                        width: 12
                        height: 12
                        sourceSize: Qt.size(24, 24)
                        source: Theme.icon("arrow-up-right")
                        opacity: siteLink.hovered ? 1 : 0.6
                    }
                }
            }
        }
    }

    ConfirmDialog {
        id: confirmClear
        objectName: "clearHistoryDialog"
        title: App.text("history.clear.confirm")
        message: App.text("history.clear.text")
        actionText: App.text("history.clear")
        onAccepted: view.tab.clearHistory()
    }

    ConfirmDialog {
        objectName: "remoteServerDialog"
        title: App.text("model.remote.title")
        message: view.tab.remoteQuestion
        actionText: App.text("model.remote.allow")
        actionColor: Theme.brand
        visible: view.tab.remoteServer.length > 0
        onAccepted: view.tab.confirmRemote()
        onRejected: view.tab.cancelRemote()
    }
}
