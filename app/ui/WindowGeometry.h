// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

// The main window's frame as it is kept across runs: "x,y,width,height" under the name "MainWindow2".
namespace WindowGeometry {

inline constexpr const char *key = "MainWindow2";
inline constexpr QSize defaultSize{640, 640};
inline constexpr QSize minimumSize{560, 520};

QString format(const QRect &frame);
// Absent unless four integers with a positive size.
std::optional<QRect> parse(const QString &text);
// A kept frame grown to the minimum size, used when its centre is on one of `screens`; otherwise the default
// size centred on the first screen.
QRect restore(const std::optional<QRect> &kept, const QList<QRect> &screens);

} // namespace WindowGeometry
