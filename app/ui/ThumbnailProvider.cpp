// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ThumbnailProvider.h"

#include "ThumbnailCache.h"

#include <QQuickTextureFactory>
#include <QRunnable>
#include <QThreadPool>
#include <QUrl>

namespace {

// One request: answered at once from the cache, else when the worker has decoded the file.
class ThumbnailResponse : public QQuickImageResponse
{
public:
    QQuickTextureFactory *textureFactory() const override
    {
        return QQuickTextureFactory::textureFactoryForImage(m_image);
    }
    QString errorString() const override { return m_image.isNull() ? QStringLiteral("unreadable image") : QString(); }

    void finish(const QImage &image)
    {
        m_image = image;
        Q_EMIT finished();
    }

private:
    QImage m_image;
};

} // namespace

ThumbnailProvider::ThumbnailProvider(ThumbnailCache &cache)
    : m_cache(cache)
{}

QQuickImageResponse *ThumbnailProvider::requestImageResponse(const QString &id, const QSize &requestedSize)
{
    const QString path = QUrl::fromPercentEncoding(id.toUtf8());
    const int size = requestedSize.isValid() ? qMax(requestedSize.width(), requestedSize.height()) : 64;
    const QString key = ThumbnailCache::key(path, size);
    auto *response = new ThumbnailResponse;
    if (const auto cached = m_cache.image(key)) {
        // finished() must not come before the engine connects to the response.
        QMetaObject::invokeMethod(
            response, [response, image = *cached] { response->finish(image); }, Qt::QueuedConnection);
        return response;
    }
    ThumbnailCache *cache = &m_cache;
    QThreadPool::globalInstance()->start([response, cache, path, size, key] {
        const QImage image = ThumbnailCache::decode(path, size);
        if (!image.isNull())
            cache->insert(key, image);
        QMetaObject::invokeMethod(
            response, [response, image] { response->finish(image); }, Qt::QueuedConnection);
    });
    return response;
}
