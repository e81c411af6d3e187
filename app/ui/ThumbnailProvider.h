// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QQuickAsyncImageProvider>

class ThumbnailCache;

// Serves "image://thumbnail/<path>" from the shared cache, decoding misses on the thread pool.
class ThumbnailProvider : public QQuickAsyncImageProvider
{
public:
    static constexpr const char *id = "thumbnail";

    explicit ThumbnailProvider(ThumbnailCache &cache);

    QQuickImageResponse *requestImageResponse(const QString &id, const QSize &requestedSize) override;

private:
    ThumbnailCache &m_cache;
};
