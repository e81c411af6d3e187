// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A messenger: chats on the left, the open group chat on the right.
MockScreen {
    width: 1920
    height: 1080
    subject: "Команда релиза"

    WindowBar { title: "Команда релиза — Сообщения" }

    Rectangle {
        property string pane: "chats"
        y: 38
        width: 420
        height: parent.height - 38
        color: Theme.panel
        Field { x: 16; y: 14; width: 388; icon: "⌕"; text: "Поиск"; placeholder: true }
        Column {
            y: 62
            width: parent.width
            Repeater {
                model: [
                    ["Мама", "Купи хлеба по дороге домой", "09:12", ""],
                    ["Команда релиза", "Ольга: сборка 3.2 готова к проверке", "10:41", "3"],
                    ["Коллеги", "Андрей: кто идёт на обед?", "10:05", "12"],
                    ["Дмитрий Петров", "Пришлю договор вечером", "вчера", ""],
                    ["Бухгалтерия", "Счёт за март оплачен", "вчера", ""],
                    ["Соседи по дому", "Завтра отключат горячую воду", "пн", "1"],
                    ["Анна Смирнова", "Спасибо, до встречи!", "вс", ""],
                    ["Книжный клуб", "Следующая книга — «Пикник на обочине»", "сб", ""],
                    ["Спортзал", "Ваш абонемент истекает 30 марта", "пт", ""],
                    ["Алексей Котов", "Фото с поездки", "чт", ""],
                    ["Служба доставки", "Заказ № 48213 передан курьеру", "чт", ""],
                    ["Папа", "Позвони, когда будет минутка", "ср", ""]
                ]
                Rectangle {
                    width: 420
                    height: 78
                    color: index === 1 ? Theme.selection : "transparent"
                    Avatar { x: 16; y: 15; size: 48; initials: modelData[0].split(" ").map(w => w[0]).join("").slice(0, 2) }
                    Label { x: 78; y: 16; text: modelData[0]; font.pixelSize: 15; font.bold: true }
                    Label { x: 78; y: 42; text: modelData[1]; muted: true; font.pixelSize: 14 }
                    Label { anchors.right: parent.right; anchors.rightMargin: 16; y: 18; text: modelData[2]; muted: true; font.pixelSize: 12 }
                    Badge { visible: modelData[3].length > 0; text: modelData[3]; anchors.right: parent.right; anchors.rightMargin: 16; y: 42 }
                }
            }
        }
    }

    Item {
        property string pane: "chat"
        x: 421
        y: 38
        width: parent.width - 421
        height: parent.height - 38
        Rectangle { width: parent.width; height: 64; color: Theme.background; border.color: Theme.line }
        Label { x: 24; y: 10; text: "Команда релиза"; font.pixelSize: 17; font.bold: true; heading: true }
        Label { x: 24; y: 36; text: "12 участников, 4 в сети"; muted: true; font.pixelSize: 13 }
        Glyph { x: parent.width - 110; y: 20; text: "⌕"; font.pixelSize: 20 }
        Glyph { x: parent.width - 60; y: 18; text: "⋮"; font.pixelSize: 22 }
        Column {
            x: 24
            y: 100
            spacing: 22
            Repeater {
                model: [
                    ["Ольга Иванова", "Коллеги, обсуждаем план релиза версии 3.2 на следующей неделе.", "10:32"],
                    ["Ольга Иванова", "Нужно закрыть оставшиеся задачи до четверга и собрать кандидата.", "10:33"],
                    ["Андрей Соколов", "Мобильное приложение готово, осталось обновить скриншоты в магазине.", "10:36"],
                    ["Мария Кузнецова", "Тестирование займёт два дня, начнём в среду утром.", "10:38"],
                    ["Дмитрий Петров", "Я подготовлю заметки о выпуске и письмо для клиентов.", "10:40"],
                    ["Ольга Иванова", "Сборка 3.2 готова к проверке, ссылка в описании задачи.", "10:41"]
                ]
                Row {
                    spacing: 14
                    Avatar { size: 40; initials: modelData[0].split(" ").map(w => w[0]).join("") }
                    Rectangle {
                        width: Math.max(name.implicitWidth, body.implicitWidth) + 28
                        height: 66
                        radius: 12
                        color: Theme.panel
                        Label { id: name; x: 14; y: 8; text: modelData[0]; color: Theme.accent; font.pixelSize: 14; font.bold: true }
                        Label { id: body; x: 14; y: 32; text: modelData[1]; font.pixelSize: 15 }
                        Label { anchors.right: parent.right; anchors.rightMargin: 12; y: 10; text: modelData[2]; muted: true; font.pixelSize: 11 }
                    }
                }
            }
        }
        Field { x: 24; y: parent.height - 60; width: parent.width - 48; height: 42; text: "Написать сообщение…"; placeholder: true }
    }
}
