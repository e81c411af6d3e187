// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ThumbnailCache.h"

#include <QImageReader>

ThumbnailCache &ThumbnailCache::shared()
{
    static ThumbnailCache cache;
    return cache;
}

QString ThumbnailCache::key(const QString &path, int size)
{
    return path + u'#' + QString::number(size);
}

std::optional<QImage> ThumbnailCache::image(const QString &key)
{
    const QMutexLocker locker(&m_lock);
    const auto found = m_images.constFind(key);
    if (found == m_images.cend())
        return std::nullopt;
    m_order.removeOne(key);
    m_order.append(key);
    return *found;
}

void ThumbnailCache::insert(const QString &key, const QImage &image)
{
    const QMutexLocker locker(&m_lock);
    if (m_images.contains(key))
        m_order.removeOne(key);
    m_images.insert(key, image);
    m_order.append(key);
    while (m_order.size() > limit)
        m_images.remove(m_order.takeFirst());
}

void ThumbnailCache::clear()
{
    const QMutexLocker locker(&m_lock);
    m_images.clear();
    m_order.clear();
}

int ThumbnailCache::count() const
{
    const QMutexLocker locker(&m_lock);
    return static_cast<int>(m_images.size());
}

QImage ThumbnailCache::decode(const QString &path, int size)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize full = reader.size();
    if (reader.transformation().testFlag(QImageIOHandler::TransformationRotate90))
        full.transpose();
    if (full.isValid() && size > 0 && qMin(full.width(), full.height()) > size)
        reader.setScaledSize(full.scaled(size, size, Qt::KeepAspectRatioByExpanding));
    return reader.read();
}
