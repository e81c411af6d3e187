// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QString>

#include <optional>

// Decoded thumbnails of history files, the most recently used first, at most `limit` of them. Decoders on worker
// threads fill it, so every operation locks.
class ThumbnailCache
{
public:
    static constexpr int limit = 80;

    // The instance the window's thumbnails share; emptied whenever the main window closes.
    static ThumbnailCache &shared();

    // The file's path, "#", and the size as a whole number.
    static QString key(const QString &path, int size);

    std::optional<QImage> image(const QString &key);
    void insert(const QString &key, const QImage &image);
    void clear();
    int count() const;

    // Decodes the file scaled so that its shorter side is `size` pixels (never enlarged); null when the file is
    // not a readable image. Blocking: call it off the event loop.
    static QImage decode(const QString &path, int size);

private:
    mutable QMutex m_lock;
    QHash<QString, QImage> m_images;
    // Keys, least recently used first.
    QList<QString> m_order;
};
