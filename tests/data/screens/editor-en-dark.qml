// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A dark code editor on a high-density display: file tree, tabs, code with line numbers, status bar.
MockScreen {
    width: 1280
    height: 800
    pixelScale: 2
    dark: true
    subject: "UploadQueue"

    WindowBar { title: "UploadQueue.cpp — uploader — Code"; height: 30 }

    Rectangle {
        property string pane: "explorer"
        y: 30
        width: 230
        height: parent.height - 30 - 22
        color: Theme.panel
        Label { x: 14; y: 10; text: "EXPLORER"; muted: true; font.pixelSize: 11; font.bold: true }
        Column {
            x: 10; y: 36; spacing: 5
            Repeater {
                model: [["▾", "uploader", 0], ["▾", "src", 1], ["", "main.cpp", 2], ["", "UploadQueue.cpp", 2], ["", "UploadQueue.h", 2], ["", "Worker.cpp", 2], ["", "Worker.h", 2], ["▸", "tests", 1], ["▸", "docs", 1], ["", "CMakeLists.txt", 1], ["", "README.md", 1]]
                Row {
                    x: modelData[2] * 14; spacing: 6
                    Glyph { text: modelData[0]; width: 10; font.pixelSize: 11 }
                    Label { text: modelData[1]; font.pixelSize: 13; color: modelData[1] === "UploadQueue.cpp" ? "white" : Theme.text }
                }
            }
        }
    }

    Item {
        property string pane: "editor"
        x: 230
        y: 30
        width: parent.width - 230
        height: parent.height - 30 - 22
        Rectangle {
            width: parent.width; height: 32; color: Theme.chrome
            Row {
                Repeater {
                    model: ["UploadQueue.cpp", "Worker.h"]
                    Rectangle {
                        width: 170; height: 32; color: index === 0 ? Theme.background : Theme.chrome
                        Label { x: 12; anchors.verticalCenter: parent.verticalCenter; text: modelData; font.pixelSize: 12; muted: index !== 0 }
                        Glyph { x: 150; anchors.verticalCenter: parent.verticalCenter; text: "✕"; font.pixelSize: 10 }
                    }
                }
            }
        }
        Label { x: 14; y: 38; text: "src › UploadQueue.cpp › UploadQueue::claimNext"; muted: true; font.pixelSize: 11 }
        Column {
            x: 6; y: 62
            Repeater {
                model: [
                    "#include \"UploadQueue.h\"",
                    "",
                    "#include <mutex>",
                    "",
                    "// Hands each upload to exactly one worker.",
                    "std::optional<Upload> UploadQueue::claimNext()",
                    "{",
                    "    std::lock_guard lock(m_mutex);",
                    "    if (m_pending.empty())",
                    "        return std::nullopt;",
                    "    Upload next = std::move(m_pending.front());",
                    "    m_pending.pop_front();",
                    "    m_claimed.insert(next.id);",
                    "    return next;",
                    "}",
                    "",
                    "void UploadQueue::release(const UploadId &id)",
                    "{",
                    "    std::lock_guard lock(m_mutex);",
                    "    m_claimed.erase(id);",
                    "}"
                ]
                Row {
                    spacing: 18
                    Label { width: 30; horizontalAlignment: Text.AlignRight; text: index + 1; muted: true; font.family: Theme.mono; font.pixelSize: 12 }
                    Label {
                        text: modelData
                        height: 19
                        font.family: Theme.mono
                        font.pixelSize: 12
                        color: modelData.startsWith("//") ? "#6a9955" : (modelData.startsWith("#") ? "#c586c0" : Theme.text)
                    }
                }
            }
        }
    }

    Rectangle {
        property string pane: "status"
        y: parent.height - 22
        width: parent.width
        height: 22
        color: "#007acc"
        Label { x: 10; anchors.verticalCenter: parent.verticalCenter; text: "⎇ fix/upload-race"; color: "white"; font.pixelSize: 11 }
        Label { anchors.right: parent.right; anchors.rightMargin: 12; anchors.verticalCenter: parent.verticalCenter; text: "Ln 12, Col 28    Spaces: 4    UTF-8    C++"; color: "white"; font.pixelSize: 11 }
    }
}
