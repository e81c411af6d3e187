// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A terminal with tabs in which a build has just failed.
MockScreen {
    width: 1920
    height: 1080
    dark: true
    color: "#1c1c1c"
    subject: "build stopped|subcommand failed|was not declared in this scope"
    namingLimit: "every line has the same size, so the most prominent is an early command, never the error"

    WindowBar { title: "maria@devbox: ~/src/uploader" }
    Rectangle {
        property string pane: "tabs"
        y: 38
        width: parent.width
        height: 34
        color: Theme.chrome
        Row {
            Repeater {
                model: ["maria@devbox: ~/src/uploader", "maria@devbox: ~", "htop"]
                Rectangle {
                    width: 320; height: 34; color: index === 0 ? "#1c1c1c" : Theme.chrome
                    Label { x: 14; anchors.verticalCenter: parent.verticalCenter; text: modelData; font.pixelSize: 12; muted: index !== 0 }
                    Glyph { x: 296; anchors.verticalCenter: parent.verticalCenter; text: "✕"; font.pixelSize: 10 }
                }
            }
        }
    }
    Column {
        property string pane: "terminal"
        x: 12
        y: 84
        spacing: 3
        Repeater {
            model: [
                ["maria@devbox:~/src/uploader$ cmake --build build", "#8ae234"],
                ["[1/6] Building CXX object src/CMakeFiles/uploader.dir/main.cpp.o", ""],
                ["[2/6] Building CXX object src/CMakeFiles/uploader.dir/Worker.cpp.o", ""],
                ["[3/6] Building CXX object src/CMakeFiles/uploader.dir/UploadQueue.cpp.o", ""],
                ["FAILED: src/CMakeFiles/uploader.dir/UploadQueue.cpp.o", "#ef2929"],
                ["/usr/bin/c++ -I/home/maria/src/uploader/src -O2 -g -std=c++20 -c ../src/UploadQueue.cpp", ""],
                ["../src/UploadQueue.cpp: In member function 'void UploadQueue::release(const UploadId&)':", ""],
                ["../src/UploadQueue.cpp:24:5: error: 'm_claimed' was not declared in this scope", "#ef2929"],
                ["   24 |     m_claimed.erase(id);", ""],
                ["      |     ^~~~~~~~~", "#8ae234"],
                ["../src/UploadQueue.cpp:24:5: note: suggested alternative: 'm_claims'", "#729fcf"],
                ["ninja: build stopped: subcommand failed.", ""],
                ["maria@devbox:~/src/uploader$ ", "#8ae234"]
            ]
            Label { text: modelData[0]; color: modelData[1] || "#d3d7cf"; font.family: Theme.mono; font.pixelSize: 15 }
        }
    }
}
