// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "WindowGeometry.h"

#include <QStringList>

namespace WindowGeometry {

QString format(const QRect &frame)
{
    return QStringLiteral("%1,%2,%3,%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
}

std::optional<QRect> parse(const QString &text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values[2] <= 0 || values[3] <= 0)
        return std::nullopt;
    return QRect(values[0], values[1], values[2], values[3]);
}

QRect restore(const std::optional<QRect> &kept, const QList<QRect> &screens)
{
    if (kept) {
        QRect frame = *kept;
        frame.setSize(frame.size().expandedTo(minimumSize));
        for (const QRect &screen : screens) {
            if (screen.contains(frame.center()))
                return frame;
        }
    }
    QRect frame(QPoint(0, 0), defaultSize);
    if (!screens.isEmpty())
        frame.moveCenter(screens.constFirst().center());
    return frame;
}

} // namespace WindowGeometry
